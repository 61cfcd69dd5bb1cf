#include "services/ProgramStart.h"

namespace vostrel {
namespace {

// A system where the game starts no other program: the one it would start is the
// system-information tool, found through the Windows registry, which elsewhere is never there.
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
