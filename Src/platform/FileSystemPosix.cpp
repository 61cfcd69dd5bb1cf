#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "FileSystem.h"

namespace vostrel {
namespace {

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

private:
    static ReadStatus readOpen(int fd, std::size_t maxBytes, std::string& out) {
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
        out.resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        // The size may change while reading; never trust it beyond the limit.
        for (;;) {
            if (got == out.size()) {
                if (out.size() >= maxBytes + 1) {
                    return ReadStatus::TooLarge;
                }
                out.resize(std::min(maxBytes + 1, std::max<std::size_t>(out.size() * 2, 4096)));
            }
            const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return ReadStatus::Failed;
            }
            if (n == 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        out.resize(got);
        return got > maxBytes ? ReadStatus::TooLarge : ReadStatus::Ok;
    }
};

}  // namespace

const FileSystem& systemFileSystem() {
    static const PosixFileSystem files;
    return files;
}

}  // namespace vostrel
