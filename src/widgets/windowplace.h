#pragma once

#include <QList>
#include <QSize>

#include <string>

class QWidget;

// Where a window is: its size, position and maximized state, as text for a settings file.
std::string WindowPlace(const QWidget& window);

// Puts the window where `place` says; when it says nothing usable, gives it the `designed` size,
// never larger than the screen's available area.
void RestoreWindowPlace(QWidget& window, const std::string& place, QSize designed);

class QSplitter;

// Where the splitter's line is, as text for a settings file.
std::string SplitterPlace(const QSplitter& splitter);

// Puts the line where `place` says; when it says nothing usable, gives the panes `designed` widths.
void RestoreSplitter(QSplitter& splitter, const std::string& place, const QList<int>& designed);
