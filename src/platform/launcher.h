#pragma once

#include <sys/types.h>
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

// Starts programs with posix_spawnp. Programs that have ended are reaped at every launch and
// when the launcher goes, so none is left behind as a zombie for long.
class CSpawnLauncher : public CLauncher {
public:
    ~CSpawnLauncher() override;
    bool Launch(const std::vector<std::string>& arguments) override;

private:
    void ReapEnded();

    std::vector<pid_t> m_running;
};
