#include "play/playercommand.h"

#include <cstring>
#include <filesystem>

#include <fmt/printf.h>

#include "platform/launcher.h"
#include "platform/usertext.h"

namespace {

constexpr const char* kPlayerSetting = "[Media Players] MP3 Player";

}  // namespace

std::string NotStartedMessage(int error, const std::string& what, const std::string& program,
                              const std::string& setting) {
    if (error == 0) {
        return {};
    }
    return fmt::sprintf(CUserText::tr("The %s '%s' could not be started: %s. Set the %s in Cadenzo.ini, %s."), what,
                        program, std::strerror(error), what, setting);
}

std::vector<std::string> PlayerArguments(const std::string& player, const std::string& flag,
                                         const std::string& playlist) {
    std::error_code error;
    std::vector<std::string> arguments =
        std::filesystem::exists(player, error) ? std::vector<std::string>{player} : SplitCommandLine(player);
    if (arguments.empty()) {
        arguments.push_back(player);
    }
    for (std::string& word : SplitCommandLine(flag)) {
        arguments.push_back(std::move(word));
    }
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

std::string LaunchPlayer(CLauncher& launcher, const std::string& player, const std::string& flag,
                         const std::string& playlist) {
    return NotStartedMessage(launcher.Launch(PlayerArguments(player, flag, playlist)), CUserText::tr("player"), player,
                             kPlayerSetting);
}

std::string OpenWithShell(CLauncher& launcher, const std::string& playlist) {
    const std::string problem = OpenFileWithDesktop(launcher, playlist);
    return problem.empty()
               ? problem
               : fmt::sprintf(CUserText::tr("%s Or set the player in Cadenzo.ini, %s."), problem, kPlayerSetting);
}

int LaunchWithFile(CLauncher& launcher, const std::string& program, const std::string& file) {
    return launcher.Launch({program, file});
}
