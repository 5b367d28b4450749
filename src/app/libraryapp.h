#pragma once

// The program from its start to its end: the run-time check, the settings, the library, the
// main window and its event loop. The library is closed, the tray icon removed and the column
// widths saved, in that order, when the window goes.
class CLibraryApp {
public:
    // The process's exit code: 0 after Exit, 1 when start-up failed (after its message).
    int Run(int argc, char** argv);
};
