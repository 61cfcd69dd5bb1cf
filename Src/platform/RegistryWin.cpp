#include <windows.h>

#include "services/Registry.h"

namespace vostrel {
namespace {

HKEY toHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

class WindowsRegistry final : public Registry {
public:
    RegStatus openKey(RegKey root, const char* subKey, std::uint32_t options, std::uint32_t access,
                      RegKey* result) const override {
        HKEY key = nullptr;
        const LSTATUS status =
            ::RegOpenKeyExA(toHkey(root), subKey, options, access, result ? &key : nullptr);
        if (result != nullptr) {
            *result = reinterpret_cast<RegKey>(key);
        }
        return status;
    }

    RegStatus queryValue(RegKey key, const char* name, std::uint32_t* type, unsigned char* data,
                         std::uint32_t* size) const override {
        DWORD valueType = 0;
        DWORD valueSize = size ? *size : 0;
        const LSTATUS status =
            ::RegQueryValueExA(toHkey(key), name, nullptr, type ? &valueType : nullptr, data,
                               size ? &valueSize : nullptr);
        if (type != nullptr) {
            *type = valueType;
        }
        if (size != nullptr) {
            *size = valueSize;
        }
        return status;
    }

    RegStatus closeKey(RegKey key) const override { return ::RegCloseKey(toHkey(key)); }
};

}  // namespace

const Registry& systemRegistry() {
    static const WindowsRegistry registry;
    return registry;
}

}  // namespace vostrel
