#pragma once

#include <map>
#include <string>

#include "platform/FileSystem.h"

// Files held in memory. Anything not added is absent; "special" entries stand for folders,
// FIFOs and the like, which must count as absent too.
class FakeFileSystem final : public vostrel::FileSystem {
public:
    void addFile(const std::string& path, std::string content) {
        files_[path] = {std::move(content), true};
    }
    void addSpecial(const std::string& path) { files_[path] = {{}, false}; }
    void addUnreadable(const std::string& path) { unreadable_[path] = true; }

    bool isNormalFile(const std::string& path) const override {
        const auto it = files_.find(path);
        return it != files_.end() && it->second.regular;
    }

    vostrel::ReadStatus readRegularFile(const std::string& path, std::size_t maxBytes,
                                        vostrel::FileBytes& out) const override {
        out.clear();
        if (unreadable_.count(path) != 0) {
            return vostrel::ReadStatus::Failed;
        }
        if (!isNormalFile(path)) {
            return vostrel::ReadStatus::NotRegular;
        }
        const std::string& content = files_.at(path).content;
        if (content.size() > maxBytes) {
            return vostrel::ReadStatus::TooLarge;
        }
        out = vostrel::FileBytes(content);
        return vostrel::ReadStatus::Ok;
    }

private:
    struct Entry {
        std::string content;
        bool regular = false;
    };
    std::map<std::string, Entry> files_;
    std::map<std::string, bool> unreadable_;
};
