// Whatever a registry hands back for the two values the launcher reads, of any type and size, even
// against its own contract: reading it must leave no key open and fail only as a value with no data
// does, and the launcher must end in a start or the message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/SysInfo.h"
#include "services/Services.h"

namespace {

void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// The input, read from the front as the registry and the system are asked things; once it runs
// out every answer is 0.
class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    std::string_view bytes(std::size_t count) {
        count = std::min(count, size_ - pos_);
        const std::string_view out(reinterpret_cast<const char*>(data_ + pos_), count);
        pos_ += count;
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Per open: one status byte (0 opens). Per query: a status byte (0 success, 1 more data, else
// that error), a type byte, a size byte (0 the true size, 1 one more, 2 none, 3 the largest
// there is, else the true size), two bytes of length and the data.
class ScriptedRegistry final : public vostrel::Registry {
public:
    explicit ScriptedRegistry(Script& script) : script_(script) {}

    vostrel::RegStatus openKey(vostrel::RegKey, const char*, std::uint32_t, std::uint32_t,
                               vostrel::RegKey* result) const override {
        const std::uint8_t status = script_.byte();
        if (status != 0) {
            return status;
        }
        *result = ++handles_;
        ++open_;
        return vostrel::kErrorSuccess;
    }

    vostrel::RegStatus queryValue(vostrel::RegKey key, const char*, std::uint32_t* type,
                                  unsigned char* data, std::uint32_t* size) const override {
        require(key != 0 && key <= handles_);
        const std::uint8_t status = script_.byte();
        *type = script_.byte();
        const std::uint8_t sizeMode = script_.byte();
        const std::size_t length = script_.byte() | (std::size_t{script_.byte()} << 8);
        const std::string_view value = script_.bytes(length);
        std::memcpy(data, value.data(), std::min<std::size_t>(value.size(), *size));
        const auto trueSize = static_cast<std::uint32_t>(value.size());
        switch (sizeMode) {
            case 1:
                *size = trueSize + 1;
                break;
            case 2:
                *size = 0;
                break;
            case 3:
                *size = UINT32_MAX;
                break;
            default:
                *size = trueSize;
                break;
        }
        return status == 0   ? vostrel::kErrorSuccess
               : status == 1 ? vostrel::kErrorMoreData
                             : status;
    }

    vostrel::RegStatus closeKey(vostrel::RegKey key) const override {
        if (key != 0) {
            --open_;
        }
        return vostrel::kErrorSuccess;
    }

    [[nodiscard]] int stillOpen() const { return open_; }

private:
    Script& script_;
    mutable vostrel::RegKey handles_ = 0;
    mutable int open_ = 0;
};

class ScriptedFiles final : public vostrel::FileSystem {
public:
    explicit ScriptedFiles(Script& script) : script_(script) {}
    bool isNormalFile(const std::string&) const override { return (script_.byte() & 1) != 0; }
    vostrel::ReadStatus readRegularFile(const std::string&, std::size_t,
                                        vostrel::FileBytes&) const override {
        return vostrel::ReadStatus::NotRegular;
    }

private:
    Script& script_;
};

class ScriptedStart final : public vostrel::ProgramStart {
public:
    explicit ScriptedStart(Script& script) : script_(script) {}
    bool start(const std::string& path, int windowStyle) const override {
        require(windowStyle == vostrel::kShowNormal);
        ++starts;
        started = path;
        return (script_.byte() & 1) != 0;
    }

    mutable std::string started;
    mutable int starts = 0;

private:
    Script& script_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Script script(data, size);
    const ScriptedRegistry registry(script);
    const vostrel::AnsiText& text = vostrel::systemAnsiText();

    std::string value = "stale";
    try {
        const bool read =
            vostrel::GetKeyValue(registry, text, vostrel::kHkeyLocalMachine,
                                 "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", value);
        // Never more than the buffer holds: as text, or as two hexadecimal digits a byte after
        // "&h".
        require(value.size() <= 2 + 2 * vostrel::kKeyValueBufferSize);
        require(read || value.empty());
    } catch (const std::runtime_error&) {
        // a value with no data
    }
    require(registry.stillOpen() == 0);

    const ScriptedFiles files(script);
    const ScriptedStart programs(script);
    const vostrel::Services services{files, text, registry, programs};
    const vostrel::SysInfoResult result = vostrel::StartSysInfo(services);
    require(registry.stillOpen() == 0);
    require(result == vostrel::SysInfoResult::Unavailable || programs.starts == 1);
    return 0;
}
