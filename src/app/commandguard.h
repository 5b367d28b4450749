#pragma once

#include <functional>

class CMessageBox;

// Runs one command of the user. An engine error that it raises is shown with its description
// and ends the command, never the program. False when the command failed so.
bool RunGuarded(CMessageBox& messages, const std::function<void()>& command);
