#include "services/Registry.h"

namespace vostrel {
namespace {

// A system without the Windows registry: every key is absent, so no handle is ever handed out.
class NoRegistry final : public Registry {
public:
    RegStatus openKey(RegKey, const char*, std::uint32_t, std::uint32_t,
                      RegKey* result) const override {
        *result = 0;
        return kErrorFileNotFound;
    }
    RegStatus queryValue(RegKey, const char*, std::uint32_t*, unsigned char*,
                         std::uint32_t*) const override {
        return kErrorInvalidHandle;
    }
    RegStatus closeKey(RegKey) const override { return kErrorInvalidHandle; }
};

}  // namespace

const Registry& systemRegistry() {
    static const NoRegistry registry;
    return registry;
}

}  // namespace vostrel
