#include "app/commandline.h"

#include <fmt/format.h>

#include "platform/programinfo.h"

CommandLine ReadCommandLine(const std::vector<std::string>& arguments) {
    // Help and version win over anything else on the line.
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            return {CommandLine::Action::Help, "", ""};
        }
        if (argument == "--version") {
            return {CommandLine::Action::Version, "", ""};
        }
    }
    CommandLine line;
    for (const std::string& argument : arguments) {
        if (argument.size() > 1 && argument.front() == '-') {
            return {CommandLine::Action::Refuse, "", fmt::format("unknown option '{}'", argument)};
        }
        if (!line.folder.empty()) {
            return {CommandLine::Action::Refuse, "", "more than one folder given"};
        }
        line.folder = argument;
    }
    return line;
}

std::string UsageText() {
    return "Usage: cadenzo [FOLDER]\n"
           "Browse, rate and play a music library.\n"
           "\n"
           "Cadenzo keeps its library (Cadenzo.mdb) and settings (Cadenzo.ini) in FOLDER, or in the\n"
           "folder it is started in when none is given.\n"
           "\n"
           "  -h, --help     show this help and end\n"
           "      --version  show the version and end\n"
           "\n"
           "Qt's own options (-platform, -style, ...) work as in any Qt program.\n";
}

std::string VersionText() {
    return fmt::format("{} {}\n", kProgramName, kProgramVersion);
}
