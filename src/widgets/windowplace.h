#pragma once

#include <QSize>

#include <string>

class QWidget;

// Where a window is: its size, position and maximized state, as text for a settings file.
std::string WindowPlace(const QWidget& window);

// Puts the window where `place` says; when it says nothing usable, gives it the `designed` size,
// never larger than the screen's available area.
void RestoreWindowPlace(QWidget& window, const std::string& place, QSize designed);
