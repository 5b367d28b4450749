#pragma once

#include <string>
#include <vector>

// Starts other programs without waiting for them and without a shell. Tests pass a fake.
class CLauncher {
public:
    virtual ~CLauncher() = default;

    // Starts `arguments[0]` (looked up in PATH) with the rest as its arguments; false when it
    // could not be started.
    virtual bool Launch(const std::vector<std::string>& arguments) = 0;

    // Opens the file with the desktop's program for it (xdg-open).
    bool OpenWithDesktop(const std::string& path) { return Launch({"xdg-open", path}); }
};

// Starts programs with posix_spawnp, with the program's environment and working folder, and
// reaps each one when it ends.
class CSpawnLauncher : public CLauncher {
public:
    bool Launch(const std::vector<std::string>& arguments) override;
};
