#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

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
                               FileBytes& out) const override {
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
    // From this size on a file is mapped rather than read: a list of a million words is ten
    // megabytes, and copying it into fresh memory costs a fault for every page of that memory.
    // A mapping shares the pages the system already holds, all entered in one call. Smaller files,
    // the shipped list and the pictures among them, are copied.
    static constexpr std::size_t kMapFrom = std::size_t{1} << 20;

    static void unmap(void* region, std::size_t size) { ::munmap(region, size); }

    static ssize_t readSome(int fd, char* into, std::size_t count) {
        for (;;) {
            const ssize_t n = ::read(fd, into, count);
            if (n >= 0 || errno != EINTR) {
                return n;
            }
        }
    }

    static ReadStatus readOpen(int fd, std::size_t maxBytes, FileBytes& out) {
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
        const auto size = static_cast<std::size_t>(info.st_size);
        if (size >= kMapFrom) {
            void* region = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
            if (region != MAP_FAILED) {
                out = FileBytes(region, size, &unmap);
                return ReadStatus::Ok;
            }
            // Some file systems can not be mapped; those are read like any other.
        }
        std::string text;
        const ReadStatus status = readAll(fd, size, maxBytes, text);
        if (status == ReadStatus::Ok) {
            out = FileBytes(std::move(text));
        }
        return status;
    }

    // One read of the size the file has now, then a small probe for an end that moved on:
    // doubling the buffer just to meet the end of the file would copy it whole.
    static ReadStatus readAll(int fd, std::size_t size, std::size_t maxBytes, std::string& out) {
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
};

}  // namespace

const FileSystem& systemFileSystem() {
    static const PosixFileSystem files;
    return files;
}

}  // namespace vostrel
