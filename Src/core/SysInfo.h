#pragma once

#include <cstddef>
#include <string>

#include "services/Registry.h"
#include "services/Services.h"

namespace vostrel {

inline constexpr std::size_t kKeyValueBufferSize = 1024;

// Reads value `SubKeyRef` of key `KeyName` below `KeyRoot` into `KeyVal` as text: a string (its
// environment references expanded where it is an expandable one), or a number as "&h" and its
// bytes in hexadecimal, most significant first; a value of another type leaves `KeyVal` as it came
// in. False, with `KeyVal` emptied, when the key or the value is absent or unreadable, or larger
// than the buffer. A value with no data throws std::runtime_error, the key closed all the same.
bool GetKeyValue(const Registry& registry, const AnsiText& text, RegKey KeyRoot,
                 const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal);

enum class SysInfoResult { Started, Unavailable };

// Finds the system-information tool through the registry and starts it without waiting. Every
// failure, thrown or reported, ends in Unavailable, for the caller to say so; a thrown one skips
// any lookup still to come.
SysInfoResult StartSysInfo(const Services& services) noexcept;

}  // namespace vostrel
