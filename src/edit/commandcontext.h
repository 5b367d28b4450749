#pragma once

#include <cstdint>
#include <functional>

#include "platform/dialogrunner.h"

class CLauncher;
class CLibraryDb;
class CLibraryLock;
class CMessageBox;
class CSettings;
class CTagWorkers;
class QWidget;

// What the window's commands and their dialogs work with: the library and its lock, the
// program's settings and services, and the window's command guard, which runs an action so that
// an error it raises is shown and ends only that action.
struct CCommandContext {
    CLibraryDb& db;
    CLibraryLock& libraryLock;
    CSettings& settings;
    CMessageBox& messages;
    CLauncher& launcher;
    DialogRunner runDialog;
    std::function<void(const std::function<void()>&)> guarded;
    std::function<CTagWorkers&()> workers;  // started at the first use, then kept
    bool readOnly = false;
    QWidget* window = nullptr;  // the parent of the commands' dialogs
};
