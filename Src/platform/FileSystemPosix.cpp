#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

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
    static ssize_t readSome(int fd, char* into, std::size_t count) {
        for (;;) {
            const ssize_t n = ::read(fd, into, count);
            if (n >= 0 || errno != EINTR) {
                return n;
            }
        }
    }

    // A word list of a million words is ten megabytes; taking them in 4 KiB pages, each one a
    // fault of its own, costs more than reading them. Only a hint: where the system has no large
    // pages it changes nothing.
    static void adviseHugePages([[maybe_unused]] char* data, [[maybe_unused]] std::size_t size) {
#ifdef MADV_HUGEPAGE
        constexpr std::uintptr_t kHuge = std::uintptr_t{2} * 1024 * 1024;
        const auto begin = reinterpret_cast<std::uintptr_t>(data);
        const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
        const std::uintptr_t last = (begin + size) & ~(kHuge - 1);
        if (last > first) {
            ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
        }
#endif
    }

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
        // One read of the size the file has now, then a small probe for an end that moved on:
        // doubling the buffer just to meet the end of the file would copy it whole.
        const auto size = static_cast<std::size_t>(info.st_size);
        out.reserve(size);
        adviseHugePages(out.data(), size);
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
