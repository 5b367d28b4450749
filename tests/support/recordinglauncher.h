#pragma once

#include <string>
#include <vector>

#include "platform/launcher.h"

// A launcher that starts nothing and records the arguments of every launch; each launch fails
// with `error` when it is set.
class CRecordingLauncher : public CLauncher {
public:
    int Launch(const std::vector<std::string>& arguments) override {
        launched.push_back(arguments);
        return error;
    }
    std::vector<std::vector<std::string>> launched;
    int error = 0;
};
