#pragma once

#include <string>

// The message boxes of the program. The window program shows real boxes titled "Cadenzo";
// tests use a recording fake with scripted answers.
class CMessageBox {
public:
    virtual ~CMessageBox() = default;

    // Shows `text` with an OK button and returns when the user has read it.
    virtual void Show(const std::string& text) = 0;

    // Asks the Yes/No question `text`; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
};
