#include <spawn.h>
#include <unistd.h>

#include "services/ProgramStart.h"

extern char** environ;

namespace vostrel {
namespace {

// The child is not reaped: it is an independent program, and the system collects its exit
// status when the game ends. Window styles have no meaning here.
class PosixProgramStart final : public ProgramStart {
public:
    bool start(const std::string& path, int) const override {
        std::string program = path;
        char* argv[] = {program.data(), nullptr};
        pid_t child = 0;
        return ::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ) == 0;
    }
};

}  // namespace

const ProgramStart& systemProgramStart() {
    static const PosixProgramStart programs;
    return programs;
}

}  // namespace vostrel
