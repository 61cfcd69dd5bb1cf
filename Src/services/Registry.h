#pragma once

#include <cstdint>

namespace vostrel {

// Handles and status codes with the values the system's registry functions use.
using RegKey = std::uintptr_t;
using RegStatus = long;

// The system headers sign-extend the predefined keys on 64-bit systems; so do we.
inline constexpr RegKey kHkeyLocalMachine =
    static_cast<RegKey>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000002u)));

inline constexpr RegStatus kErrorSuccess = 0;
inline constexpr RegStatus kErrorFileNotFound = 2;
inline constexpr RegStatus kErrorInvalidHandle = 6;
inline constexpr RegStatus kErrorMoreData = 234;

// Read rights only: query values, list subkeys, be notified, read the security descriptor.
inline constexpr std::uint32_t kKeyRead = 0x20019;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

// The system registry's ANSI reading functions, one method each, with their contracts: a status
// code for a result, text in the ANSI code page.
class Registry {
public:
    virtual ~Registry() = default;

    // Opens `subKey` below `root` with the `access` rights asked for; on success stores the new
    // handle in `result`, which must be closed with closeKey.
    virtual RegStatus openKey(RegKey root, const char* subKey, std::uint32_t options,
                              std::uint32_t access, RegKey* result) const = 0;

    // Reads value `name` of an open key. `size` holds the room in `data` on entry and the bytes
    // the value has on return. Data that does not fit gives kErrorMoreData and leaves `data` as it
    // was; a value stored without a terminator comes back without one.
    virtual RegStatus queryValue(RegKey key, const char* name, std::uint32_t* type,
                                 unsigned char* data, std::uint32_t* size) const = 0;

    virtual RegStatus closeKey(RegKey key) const = 0;
};

// The running system's registry; where there is none, every key is absent.
const Registry& systemRegistry();

}  // namespace vostrel
