#pragma once

#include <Qt>

#include <string>

class QLabel;
class QPushButton;
class QWidget;

// The item data role under which lists and combos keep an entry's stored bytes.
inline constexpr int kBytesRole = Qt::UserRole + 1;

// A push button named `name` that is never a dialog's default by itself.
QPushButton* MakeButton(QWidget* parent, const char* text, const char* name);
// A label named `name` that shows `text` (stored bytes) as plain text, never as markup.
QLabel* PlainLabel(const std::string& text, const char* name, QWidget* parent);
