#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace vostrel {

enum class ReadStatus {
    Ok,
    NotRegular,  // absent, or a folder, device, FIFO, socket, hidden or system file
    TooLarge,
    Failed,  // there, but could not be read
};

// The bytes of a whole file.
class FileBytes {
public:
    FileBytes() = default;
    explicit FileBytes(std::string bytes) : bytes_(std::move(bytes)) {}
    explicit FileBytes(std::string_view bytes) : bytes_(bytes) {}

    [[nodiscard]] std::string_view view() const { return bytes_; }
    // Hands the bytes over, keeping none.
    [[nodiscard]] std::string release() { return std::move(bytes_); }

private:
    std::string bytes_;
};

// The file services the game needs. Paths are UTF-8.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True for a normal file: a regular file after following links, and on Windows one that is
    // neither hidden nor a system file.
    [[nodiscard]] virtual bool isNormalFile(const std::string& path) const = 0;

    // Reads a whole normal file of at most `maxBytes`. The test and the read happen on one open
    // handle, so a file swapped for a FIFO in between can not make the caller block. `out` is
    // empty unless Ok.
    virtual ReadStatus readRegularFile(const std::string& path, std::size_t maxBytes,
                                       FileBytes& out) const = 0;
};

// The running system's file services.
const FileSystem& systemFileSystem();

// The folder that holds the running program file, links resolved; where its data lies.
std::string programFolder();

}  // namespace vostrel
