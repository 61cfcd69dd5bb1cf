#pragma once

#include <cstddef>
#include <string>

#include "platform/Registry.h"

namespace vostrel {

class AnsiText;
class FileSystem;
class ProgramStart;

inline constexpr const char* kSysInfoUnavailable = "現時点ではｼｽﾃﾑ情報を使用できません";
inline constexpr std::size_t kKeyValueBufferSize = 1024;

// The system services the launcher works with.
struct SysInfoServices {
    const Registry& registry;
    const AnsiText& text;
    const FileSystem& files;
    const ProgramStart& programs;
};

// Reads value `SubKeyRef` of key `KeyName` below `KeyRoot` into `KeyVal` as text: a string (its
// environment references expanded where it is an expandable one), or a number as "&h" and its
// bytes in hexadecimal, most significant first. False, with `KeyVal` emptied, when the key or the
// value is absent or unreadable, larger than the buffer, holds no data, or is of another type.
bool GetKeyValue(const Registry& registry, const AnsiText& text, RegKey KeyRoot,
                 const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal);

enum class SysInfoResult { Started, Unavailable };

// Finds the system-information tool through the registry and starts it without waiting. Every
// failure, thrown or reported, ends in Unavailable: the caller then shows kSysInfoUnavailable.
SysInfoResult StartSysInfo(const SysInfoServices& services) noexcept;

}  // namespace vostrel
