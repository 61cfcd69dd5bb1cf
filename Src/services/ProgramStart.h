#pragma once

#include <string>

namespace vostrel {

// The window style that shows a program's window at its normal size and activates it.
inline constexpr int kShowNormal = 1;

class ProgramStart {
public:
    virtual ~ProgramStart() = default;

    // Starts the program file at `path` (UTF-8) itself, never through a shell, as a process of its
    // own; does not wait for it. True when it has started.
    [[nodiscard]] virtual bool start(const std::string& path, int windowStyle) const = 0;
};

const ProgramStart& systemProgramStart();

}  // namespace vostrel
