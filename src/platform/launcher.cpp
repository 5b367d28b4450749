#include "platform/launcher.h"
#include "platform/usertext.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include <fmt/printf.h>

extern char** environ;

int CSpawnLauncher::Launch(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments[0].empty()) {
        return ENOENT;
    }
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (const int error = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ); error != 0) {
        return error;
    }
    // The program never waits for what it starts; a thread of its own waits for each child, so
    // none is ever left as a zombie, however long the program runs.
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return 0;
}

std::string OpenFileWithDesktop(CLauncher& launcher, const std::string& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return fmt::sprintf(CUserText::tr("The file '%s' was not found."), file);
    }
    if (const int started = launcher.OpenWithDesktop(file); started != 0) {
        return fmt::sprintf(
            CUserText::tr("'%s' could not be opened: the program 'xdg-open' could not be started: %s. Install "
                          "xdg-utils."),
            file, std::strerror(started));
    }
    return {};
}
