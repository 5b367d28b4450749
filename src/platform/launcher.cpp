#include "platform/launcher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>

extern char** environ;

CSpawnLauncher::~CSpawnLauncher() {
    ReapEnded();
}

void CSpawnLauncher::ReapEnded() {
    std::erase_if(m_running, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

bool CSpawnLauncher::Launch(const std::vector<std::string>& arguments) {
    ReapEnded();
    if (arguments.empty()) {
        return false;
    }
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    m_running.push_back(pid);
    return true;
}
