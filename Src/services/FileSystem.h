#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace vostrel {

enum class ReadStatus {
    Ok,
    NotRegular,  // absent, or a folder, device, FIFO, socket, hidden or system file
    TooLarge,
    Failed,  // there, but could not be read
};

// The bytes of a whole file, in memory of their own. Unlike a string's, that memory is not cleared
// before the file is read into it, and the system may choose how to lay it out: a list of a million
// words is ten megabytes.
class FileBytes {
public:
    using Release = void (*)(char*);

    FileBytes() = default;
    // Memory for `size` bytes that `release` gives back; its bytes are written later.
    FileBytes(char* data, std::size_t size, Release release) : data_(data, release), size_(size) {}
    // Room for `size` bytes, not yet written.
    explicit FileBytes(std::size_t size)
        : FileBytes(new char[size], size, [](char* data) { delete[] data; }) {}
    explicit FileBytes(std::string_view bytes) : FileBytes(bytes.size()) {
        std::memcpy(data(), bytes.data(), bytes.size());
    }

    [[nodiscard]] char* data() { return data_.get(); }
    [[nodiscard]] std::string_view view() const { return {data_.get(), size_}; }
    [[nodiscard]] std::size_t size() const { return size_; }
    // Keeps only the first `size` bytes.
    void shrink(std::size_t size) { size_ = size < size_ ? size : size_; }

private:
    std::unique_ptr<char, Release> data_{nullptr, nullptr};
    std::size_t size_ = 0;
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
