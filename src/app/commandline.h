#pragma once

#include <string>
#include <vector>

// What the command line asks for: `cadenzo [FOLDER]`, `--help`, `--version`. Qt's own options
// are taken out by Qt before the rest is read.
struct CommandLine {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    std::string folder;   // where the library and the settings are; "" for the current folder
    std::string problem;  // for Refuse: what was wrong
};

// Reads the arguments after the program's name.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments);

// The text --help prints (and, after a problem, what goes to the error output).
std::string UsageText();
// The text --version prints.
std::string VersionText();
