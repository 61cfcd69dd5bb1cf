#include <emscripten/emscripten.h>

#include <string>
#include <utility>

#include "services/FileSystem.h"

// In a browser the game's folder is the page's own. The page never waits for the network: it has
// every file of the folder in hand before it hands over an event that reads one (Module.read, by
// name: the bytes, or why there are none), and fetches the word list afresh before a new game,
// so an edited list is used by the next one. The single-file page carries its files inside, and
// a word list the player chose stands in for the folder's.

// clang-format off
// The length of the file, or -1 where it is absent and -2 where it could not be read; its bytes
// wait for web_take_file.
EM_JS(int, web_read_file, (const char* path), {
    var got = Module.read(UTF8ToString(path));
    if (typeof got == 'number') return got == 404 || got == 410 ? -1 : -2;
    Module.fileRead = got;
    return Math.min(got.length, 0x7fffffff);
});

// Copies the bytes of the file read last into `into`, unless it is null, and forgets them.
EM_JS(void, web_take_file, (char* into), {
    if (into) HEAPU8.set(Module.fileRead, into);
    Module.fileRead = null;
});
// clang-format on

namespace vostrel {
namespace {

class WebFileSystem final : public FileSystem {
public:
    bool isNormalFile(const std::string& path) const override {
        FileBytes bytes;
        return readRegularFile(path, kAnySize, bytes) == ReadStatus::Ok;
    }

    ReadStatus readRegularFile(const std::string& path, std::size_t maxBytes,
                               FileBytes& out) const override {
        out = FileBytes();
        const int size = web_read_file(path.c_str());
        if (size < 0) {
            return size == -1 ? ReadStatus::NotRegular : ReadStatus::Failed;
        }
        if (static_cast<std::size_t>(size) > maxBytes) {
            web_take_file(nullptr);
            return ReadStatus::TooLarge;
        }
        std::string bytes(static_cast<std::size_t>(size), '\0');
        web_take_file(bytes.data());
        out = FileBytes(std::move(bytes));
        return ReadStatus::Ok;
    }

private:
    static constexpr std::size_t kAnySize = 0x7fffffff;
};

}  // namespace

const FileSystem& systemFileSystem() {
    static const WebFileSystem files;
    return files;
}

// Names relative to the page's address: its own folder.
std::string programFolder() {
    return {};
}

}  // namespace vostrel
