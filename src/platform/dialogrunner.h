#pragma once

#include <functional>

class QDialog;

// Runs a modal dialog and gives its result. The program runs dialogs with exec(); tests put in
// a function that sets the controls and accepts or rejects, so that no test blocks.
using DialogRunner = std::function<int(QDialog&)>;

int ExecDialog(QDialog& dialog);
