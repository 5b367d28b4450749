#include "play/playercommand.h"

#include "platform/launcher.h"

std::vector<std::string> PlayerArguments(const std::string& player, const std::string& flag,
                                         const std::string& playlist) {
    std::vector<std::string> arguments = SplitCommandLine(flag);
    arguments.insert(arguments.begin(), player);
    arguments.push_back(playlist);
    return arguments;
}

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument) {
                arguments.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) {
        arguments.push_back(std::move(current));
    }
    return arguments;
}

void LaunchPlayer(CLauncher& launcher, const std::string& player, const std::string& flag,
                  const std::string& playlist) {
    launcher.Launch(PlayerArguments(player, flag, playlist));
}

void OpenWithShell(CLauncher& launcher, const std::string& playlist) {
    launcher.OpenWithDesktop(playlist);
}

void LaunchWithFile(CLauncher& launcher, const std::string& program, const std::string& file) {
    launcher.Launch({program, file});
}
