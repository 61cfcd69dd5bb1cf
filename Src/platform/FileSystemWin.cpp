#include <windows.h>

#include <array>
#include <string>
#include <utility>

#include "WinText.h"
#include "services/FileSystem.h"

namespace vostrel {
namespace {

constexpr DWORD kNotNormal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;

class WindowsFileSystem final : public FileSystem {
public:
    bool isNormalFile(const std::string& path) const override {
        const DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotNormal) == 0;
    }

    ReadStatus readRegularFile(const std::string& path, std::size_t maxBytes,
                               FileBytes& out) const override {
        out = FileBytes();
        if (!isNormalFile(path)) {
            return ReadStatus::NotRegular;
        }
        HANDLE file = ::CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return ReadStatus::Failed;
        }
        const ReadStatus status = readOpen(file, maxBytes, out);
        ::CloseHandle(file);
        return status;
    }

private:
    static ReadStatus readOpen(HANDLE file, std::size_t maxBytes, FileBytes& out) {
        // A named pipe or console opened by name must not make the caller wait.
        if (::GetFileType(file) != FILE_TYPE_DISK) {
            return ReadStatus::NotRegular;
        }
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0) {
            return ReadStatus::Failed;
        }
        if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
            return ReadStatus::TooLarge;
        }
        // Read on to the end: the file may grow while it is read.
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
        std::array<char, 65536> chunk{};
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
                return ReadStatus::Failed;
            }
            if (got == 0) {
                break;
            }
            if (got > maxBytes - bytes.size()) {
                return ReadStatus::TooLarge;
            }
            bytes.append(chunk.data(), got);
        }
        out = FileBytes(std::move(bytes));
        return ReadStatus::Ok;
    }
};

}  // namespace

const FileSystem& systemFileSystem() {
    static const WindowsFileSystem files;
    return files;
}

std::string programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return ".";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // a long path was cut short
    }
    return narrow(path.substr(0, path.find_last_of(L"\\/")));
}

}  // namespace vostrel
