#include "services/ProgramStart.h"

namespace vostrel {
namespace {

// A system where the game can start no other program: a browser.
class NoProgramStart final : public ProgramStart {
public:
    bool start(const std::string&, int) const override { return false; }
};

}  // namespace

const ProgramStart& systemProgramStart() {
    static const NoProgramStart programs;
    return programs;
}

}  // namespace vostrel
