#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

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

// One read of the size the file has now, then a small probe for an end that moved on (files of
// /proc report no size at all): doubling a buffer just to meet the end would copy it whole.
ReadStatus readAll(int fd, std::size_t size, std::size_t maxBytes, std::string& out) {
    out.resize(size);
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = readSome(fd, out.data() + got, out.size() - got);
        if (n < 0) {
            return ReadStatus::Failed;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    char more[4096];
    for (;;) {
        const ssize_t n = readSome(fd, more, sizeof more);
        if (n < 0) {
            return ReadStatus::Failed;
        }
        if (n == 0) {
            return ReadStatus::Ok;
        }
        if (static_cast<std::size_t>(n) > maxBytes - out.size()) {
            return ReadStatus::TooLarge;
        }
        out.append(more, static_cast<std::size_t>(n));
    }
}

ReadStatus readOpen(int fd, std::size_t maxBytes, std::string& out) {
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
    return readAll(fd, static_cast<std::size_t>(info.st_size), maxBytes, out);
}

class PosixFileSystem final : public FileSystem {
public:
    bool isNormalFile(const std::string& path) const override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }

    ReadStatus readRegularFile(const std::string& path, std::size_t maxBytes,
                               std::string& out) const override {
        out.clear();
        // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return errno == ENOENT || errno == ENOTDIR || errno == ENXIO ? ReadStatus::NotRegular
                                                                         : ReadStatus::Failed;
        }
        const ReadStatus status = readOpen(fd, maxBytes, out);
        ::close(fd);
        if (status != ReadStatus::Ok) {
            out.clear();
        }
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
