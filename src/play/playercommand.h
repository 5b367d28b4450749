#pragma once

#include <string>
#include <vector>

class CLauncher;

// The arguments of the player's command line "\"%s\" %s \"%s\"" filled with the player, the flag
// (the enqueue flag with its blanks, or "") and the playlist: the player, the flag split by
// SplitCommandLine, the playlist. The two paths are taken whole, never split out of the text,
// where a double quote inside a path would cut it apart. A player that names no existing file is
// a program with its arguments ("mpv --no-terminal"), split as the flag is.
std::vector<std::string> PlayerArguments(const std::string& player, const std::string& flag,
                                         const std::string& playlist);

// Splits a command line into arguments as the designed platform did: blanks separate
// arguments, double quotes group what is between them (the quotes themselves are dropped), and
// a quoted empty text is an empty argument.
std::vector<std::string> SplitCommandLine(const std::string& line);

// Starts the player on the playlist, with PlayerArguments. What went wrong, for the user, or ""
// when the player was started.
std::string LaunchPlayer(CLauncher& launcher, const std::string& player, const std::string& flag,
                         const std::string& playlist);

// Opens the playlist with the desktop's program for playlists (xdg-open). xdg-open takes one
// file and nothing else, so the enqueue flag cannot reach that program and is left out. As
// LaunchPlayer.
std::string OpenWithShell(CLauncher& launcher, const std::string& playlist);

// Opens the file in the program (the command line "\"%s\" \"%s\"": both taken whole); as
// CLauncher::Launch.
int LaunchWithFile(CLauncher& launcher, const std::string& program, const std::string& file);

// What the user is told when the `what` ("player") `program` could not be started, with the
// setting that names it ("[Section] Key"); "" when `error` is 0.
std::string NotStartedMessage(int error, const std::string& what, const std::string& program,
                              const std::string& setting);
