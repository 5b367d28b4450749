#pragma once

#include <string>
#include <vector>

class CLauncher;

// The command line that starts the player: "\"%s\" %s \"%s\"" with the player, the flag (the
// enqueue flag with its blanks, or "") and the playlist.
std::string PlayerCommandLine(const std::string& player, const std::string& flag, const std::string& playlist);

// The command line that opens a file in a program (the text editor): "\"%s\" \"%s\"".
std::string FileCommandLine(const std::string& program, const std::string& file);

// Splits a command line into arguments as the designed platform did: blanks separate
// arguments, double quotes group what is between them (the quotes themselves are dropped), and
// a quoted empty text is an empty argument.
std::vector<std::string> SplitCommandLine(const std::string& line);

// Starts the player on the playlist: the command line of PlayerCommandLine, split into its
// arguments. A player that cannot be started is not reported.
void LaunchPlayer(CLauncher& launcher, const std::string& player, const std::string& flag, const std::string& playlist);

// Opens the playlist with the desktop's program for playlists (xdg-open). xdg-open takes one
// file and nothing else, so the enqueue flag cannot reach that program and is left out.
void OpenWithShell(CLauncher& launcher, const std::string& playlist);

// Opens the file in the program: the command line of FileCommandLine, split into its arguments.
void LaunchWithFile(CLauncher& launcher, const std::string& program, const std::string& file);
