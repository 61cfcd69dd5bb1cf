#include <emscripten/emscripten.h>

#include <string>
#include <utility>

#include "services/FileSystem.h"

// In a browser the game's folder is the page's own: a file is read from where the page came from,
// each time the game asks for it, so an edited word list is used by the next new game. A page
// may offer files in their place (Module.files, by name): the single-file page carries its data
// that way, and a word list the player chose is put there.
//
// The read blocks the page, as a desktop's does: the game's procedures ask for a file and go on
// with it at once. The files are small and come from the same server. The page may have fetched
// a file early (Module.early, by name: bytes or an HTTP status), while the program loaded: that
// answers the first read of it.

// clang-format off
// The length of the file, or -1 where it is absent and -2 where it could not be read; its bytes
// wait for web_take_file.
EM_JS(int, web_read_file, (const char* path), {
    var name = UTF8ToString(path);
    var bytes = Module.files && Module.files[name];
    var early = Module.early && Module.early[name];
    if (!bytes && early !== undefined) {
        delete Module.early[name];
        if (typeof early == 'number') return early == 404 || early == 410 ? -1 : -2;
        bytes = early;
    }
    if (!bytes) {
        var request = new XMLHttpRequest();
        try {
            request.open('GET', name, false);
            // Bytes as they are: each becomes one character, U+0000-U+007F or U+F780-U+F7FF.
            request.overrideMimeType('text/plain; charset=x-user-defined');
            request.setRequestHeader('Cache-Control', 'no-cache');
            request.send();
        } catch (e) {
            return -2;
        }
        if (request.status == 404 || request.status == 410) return -1;
        if (request.status != 200) return -2;
        var body = request.responseText;
        bytes = new Uint8Array(body.length);
        for (var i = 0; i < body.length; i++) bytes[i] = body.charCodeAt(i);
    }
    Module.fileRead = bytes;
    return Math.min(bytes.length, 0x7fffffff);
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
