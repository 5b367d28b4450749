#pragma once

#include <string>
#include <vector>

class CLauncher;

// The arguments of the player's command line "\"%s\" %s \"%s\"" filled with the player, the flag
// (the enqueue flag with its blanks, or "") and the playlist: the player, the flag split by
// SplitCommandLine, the playlist. The two paths are taken whole, never split out of the text,
// where a double quote inside a path would cut it apart.
std::vector<std::string> PlayerArguments(const std::string& player, const std::string& flag,
                                         const std::string& playlist);

// Splits a command line into arguments as the designed platform did: blanks separate
// arguments, double quotes group what is between them (the quotes themselves are dropped), and
// a quoted empty text is an empty argument.
std::vector<std::string> SplitCommandLine(const std::string& line);

// Starts the player on the playlist, with PlayerArguments. A player that cannot be started is
// not reported.
void LaunchPlayer(CLauncher& launcher, const std::string& player, const std::string& flag, const std::string& playlist);

// Opens the playlist with the desktop's program for playlists (xdg-open). xdg-open takes one
// file and nothing else, so the enqueue flag cannot reach that program and is left out.
void OpenWithShell(CLauncher& launcher, const std::string& playlist);

// Opens the file in the program (the command line "\"%s\" \"%s\"": both taken whole).
void LaunchWithFile(CLauncher& launcher, const std::string& program, const std::string& file);
