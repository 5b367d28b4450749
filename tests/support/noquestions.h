#pragma once

#include <string>
#include <vector>

#include "import/importquestions.h"

// An import that is never answered: a folder the tags leave open is not added. For trees whose
// folders each hold one artist's album, which are never asked about.
class CNoQuestions : public CImportQuestions {
public:
    bool AskUntagged(const std::string&, const std::vector<CSongFile>&, const std::string&, UntaggedAnswer&) override {
        return false;
    }
    bool AskUnknown(const std::string&, const std::string&, const std::vector<CSongFile>&, const std::string&,
                    UnknownAnswer&) override {
        return false;
    }
    void ShowProgress(const std::string&) override {}
};
