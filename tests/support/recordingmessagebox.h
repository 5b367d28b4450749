#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/messagebox.h"

// Records every message and question; questions take their answers from a script (No when the
// script is empty).
class CRecordingMessageBox : public CMessageBox {
public:
    void Show(const std::string& text) override { shown.push_back(text); }

    bool AskYesNo(const std::string& text) override {
        asked.push_back(text);
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> shown;
    std::vector<std::string> asked;
    std::deque<bool> answers;
};
