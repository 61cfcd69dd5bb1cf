#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <new>
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

// Memory for a large file: fresh memory is given a page at a time as it is first touched, and each
// page costs a fault and a slot in the address cache; in huge pages, asked for all at once, reading
// ten megabytes and looking through them costs a fraction of that.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

FileBytes memoryFor(std::size_t size) {
    if (size < kHugePage) {
        return FileBytes(size);
    }
    const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    auto* data =
        static_cast<char*>(::operator new (rounded, std::align_val_t{kHugePage}, std::nothrow));
    if (data == nullptr) {
        return FileBytes(size);
    }
    (void)::madvise(data, rounded, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    (void)::madvise(data, rounded, MADV_POPULATE_WRITE);
#endif
    return {data, size,
            [](char* memory) { ::operator delete (memory, std::align_val_t{kHugePage}); }};
}

// One read of the size the file has now, then a small probe for an end that moved on (files of
// /proc report no size at all).
ReadStatus readAll(int fd, std::size_t size, std::size_t maxBytes, FileBytes& out) {
    out = memoryFor(size);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = readSome(fd, out.data() + got, size - got);
        if (n < 0) {
            return ReadStatus::Failed;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    out.shrink(got);
    std::string more;
    char chunk[4096];
    for (;;) {
        const ssize_t n = readSome(fd, chunk, sizeof chunk);
        if (n < 0) {
            return ReadStatus::Failed;
        }
        if (n == 0) {
            break;
        }
        if (static_cast<std::size_t>(n) > maxBytes - got - more.size()) {
            return ReadStatus::TooLarge;
        }
        more.append(chunk, static_cast<std::size_t>(n));
    }
    if (!more.empty()) {
        out = FileBytes(std::string(out.view()) + more);
    }
    return ReadStatus::Ok;
}

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
    return readAll(fd, static_cast<std::size_t>(info.st_size), maxBytes, out);
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
        if (status != ReadStatus::Ok) {
            out = FileBytes();
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
