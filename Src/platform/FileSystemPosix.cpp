#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "services/FileSystem.h"

namespace vostrel {
namespace {

ssize_t readSome(int fd, char* into, std::size_t count) {
    for (;;) {
        const ssize_t n = ::read(fd, into, count);
        if (n >= 0 || errno != EINTR) {
            return n;
        }
    }
}

// Reads on to the end whatever size the file gave: files of /proc report none, and a file may
// grow while it is read.
ReadStatus readOpen(int fd, std::size_t maxBytes, FileBytes& out) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return ReadStatus::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        return ReadStatus::NotRegular;
    }
    if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        return ReadStatus::TooLarge;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    std::array<char, 65536> chunk{};
    for (;;) {
        const ssize_t n = readSome(fd, chunk.data(), chunk.size());
        if (n < 0) {
            return ReadStatus::Failed;
        }
        if (n == 0) {
            break;
        }
        if (static_cast<std::size_t>(n) > maxBytes - bytes.size()) {
            return ReadStatus::TooLarge;
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(n));
    }
    out = FileBytes(std::move(bytes));
    return ReadStatus::Ok;
}

class PosixFileSystem final : public FileSystem {
public:
    bool isNormalFile(const std::string& path) const override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }

    ReadStatus readRegularFile(const std::string& path, std::size_t maxBytes,
                               FileBytes& out) const override {
        out = FileBytes();
        // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return errno == ENOENT || errno == ENOTDIR || errno == ENXIO ? ReadStatus::NotRegular
                                                                         : ReadStatus::Failed;
        }
        const ReadStatus status = readOpen(fd, maxBytes, out);
        ::close(fd);
        return status;
    }
};

}  // namespace

const FileSystem& systemFileSystem() {
    static const PosixFileSystem files;
    return files;
}

std::string programFolder() {
    // The launcher on PATH is a link to the program; the data lies beside the program itself.
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

}  // namespace vostrel
