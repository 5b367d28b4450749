#pragma once

#include <string>

// The message boxes of the program. The window program shows real boxes titled "Cadenzo";
// tests use a recording fake with scripted answers.
class CMessageBox {
public:
    virtual ~CMessageBox() = default;

    // Shows `text` with an OK button and returns when the user has read it.
    virtual void Show(const std::string& text) = 0;

    // Shows `text` with `details` (a list of paths, say) behind a button; without details, as Show.
    virtual void ShowWithDetails(const std::string& text, const std::string& details) {
        Show(details.empty() ? text : text + "\n\n" + details);
    }

    // Asks the Yes/No question `text`; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
};
