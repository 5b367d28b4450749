#pragma once

#include <functional>

class CMessageBox;

// Runs one command of the user. An error that it raises (the engine's, or any other standard
// exception) is shown with its description and ends the command, never the program. False when
// the command failed so.
bool RunGuarded(CMessageBox& messages, const std::function<void()>& command);
