#include "platform/launcher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

bool CSpawnLauncher::Launch(const std::vector<std::string>& arguments) {
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
    // The program never waits for what it starts; a thread of its own waits for each child, so
    // none is ever left as a zombie, however long the program runs.
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return true;
}
