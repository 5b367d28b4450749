#pragma once

#include <string>
#include <vector>

#include "platform/launcher.h"

// A launcher that starts nothing and records the arguments of every launch.
class CRecordingLauncher : public CLauncher {
public:
    bool Launch(const std::vector<std::string>& arguments) override {
        launched.push_back(arguments);
        return true;
    }
    std::vector<std::vector<std::string>> launched;
};
