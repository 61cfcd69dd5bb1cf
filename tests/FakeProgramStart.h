#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/ProgramStart.h"

// Starts exactly the programs it was given, and keeps every attempt.
class FakeProgramStart final : public vostrel::ProgramStart {
public:
    std::set<std::string> programs;
    mutable std::vector<std::string> attempts;
    mutable std::vector<int> styles;

    bool start(const std::string& path, int windowStyle) const override {
        attempts.push_back(path);
        styles.push_back(windowStyle);
        return programs.count(path) != 0;
    }
};
