#include "SysInfo.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace vostrel {
namespace {

constexpr const char* kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kToolValue = "PATH";
constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* kFolderValue = "MSINFO";
constexpr const char* kToolFile = "\\MSINFO32.EXE";

std::string numberText(std::string_view bytes) {
    constexpr const char* kDigits = "0123456789ABCDEF";
    std::string text = "&h";
    for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
        const auto byte = static_cast<unsigned char>(*it);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

// Closes the key however the reading ends, thrown errors included.
class KeyCloser {
public:
    KeyCloser(const Registry& registry, RegKey key) : registry_(registry), key_(key) {}
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;
    ~KeyCloser() { registry_.closeKey(key_); }

private:
    const Registry& registry_;
    RegKey key_;
};

}  // namespace

bool GetKeyValue(const Registry& registry, const AnsiText& text, RegKey KeyRoot,
                 const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal) {
    RegKey key = 0;
    // Departure: read rights only, not the design's 0x2003F (docs/departures.md).
    if (registry.openKey(KeyRoot, KeyName.c_str(), 0, kKeyRead, &key) != kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    const KeyCloser closer(registry, key);

    std::array<unsigned char, kKeyValueBufferSize> buffer{};
    std::uint32_t type = 0;
    std::uint32_t size = buffer.size();
    if (registry.queryValue(key, SubKeyRef.c_str(), &type, buffer.data(), &size) != kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    // With no data there is no last byte to look at for a terminator.
    if (size == 0) {
        throw std::runtime_error("registry value without data");
    }
    std::size_t length = std::min<std::size_t>(size, buffer.size());
    if (buffer[length - 1] == 0) {
        --length;
    }
    const std::string_view data(reinterpret_cast<const char*>(buffer.data()), length);
    switch (type) {
        case kRegSz:
            KeyVal = text.toUtf8(data);
            return true;
        case kRegExpandSz:  // Departure: a string, not another type (docs/departures.md).
            KeyVal = text.expandEnvironment(text.toUtf8(data));
            return true;
        case kRegDword:
            KeyVal = numberText(data);
            return true;
        default:
            // Read, but not a text or a number that could name the tool: as it came in.
            return true;
    }
}

SysInfoResult StartSysInfo(const Services& services) noexcept {
    try {
        std::string ToolPath;
        if (!GetKeyValue(services.registry, services.text, kHkeyLocalMachine, kToolKey, kToolValue,
                         ToolPath)) {
            if (!GetKeyValue(services.registry, services.text, kHkeyLocalMachine, kFolderKey,
                             kFolderValue, ToolPath) ||
                !services.files.isNormalFile(ToolPath + kToolFile)) {
                return SysInfoResult::Unavailable;
            }
            ToolPath += kToolFile;
        }
        // A path value of another type leaves the path empty, and nothing can start from it.
        return !ToolPath.empty() && services.programs.start(ToolPath, kShowNormal)
                   ? SysInfoResult::Started
                   : SysInfoResult::Unavailable;
    } catch (...) {
        return SysInfoResult::Unavailable;
    }
}

}  // namespace vostrel
