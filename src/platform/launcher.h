#pragma once

#include <string>
#include <vector>

// Starts other programs without waiting for them and without a shell. Tests pass a fake.
class CLauncher {
public:
    virtual ~CLauncher() = default;

    // Starts `arguments[0]` (looked up in PATH) with the rest as its arguments; 0 when it was
    // started, else the system's error number that says why not.
    virtual int Launch(const std::vector<std::string>& arguments) = 0;

    // Opens the file with the desktop's program for it (xdg-open); as Launch.
    int OpenWithDesktop(const std::string& path) { return Launch({"xdg-open", path}); }
};

// Starts programs with posix_spawnp, with the program's environment and working folder, and
// reaps each one when it ends.
class CSpawnLauncher : public CLauncher {
public:
    int Launch(const std::vector<std::string>& arguments) override;
};

// Opens the file with the desktop's program for it. What went wrong, for the user (a missing
// file, or no xdg-open), or "" when that program was started.
std::string OpenFileWithDesktop(CLauncher& launcher, const std::string& file);
