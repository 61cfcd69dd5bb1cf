#include "services/ProgramStart.h"

namespace vostrel {
namespace {

// The one program the game starts is the system-information tool, found through the Windows
// registry; a system without one never gets that far, so nothing is started.
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
