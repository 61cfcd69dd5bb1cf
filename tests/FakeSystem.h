#pragma once

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "services/Services.h"

// Stand-ins for the system services, kept to the real ones' contracts, and keeping count of
// what was asked of them.

// Files held in memory. Anything not added is absent.
class FakeFileSystem final : public vostrel::FileSystem {
public:
    enum class Kind { File, Special, Unreadable };  // Special: a folder, FIFO or device

    void add(const std::string& path, std::string content, Kind kind = Kind::File) {
        files_[path] = {std::move(content), kind};
    }
    void remove(const std::string& path) { files_.erase(path); }

    bool isNormalFile(const std::string& path) const override {
        tested.push_back(path);
        const auto it = files_.find(path);
        return it != files_.end() && it->second.kind != Kind::Special;
    }

    vostrel::ReadStatus readRegularFile(const std::string& path, std::size_t maxBytes,
                                        vostrel::FileBytes& out) const override {
        out = vostrel::FileBytes();
        const auto it = files_.find(path);
        if (it == files_.end() || it->second.kind == Kind::Special) {
            return vostrel::ReadStatus::NotRegular;
        }
        if (it->second.kind == Kind::Unreadable) {
            return vostrel::ReadStatus::Failed;
        }
        if (it->second.content.size() > maxBytes) {
            return vostrel::ReadStatus::TooLarge;
        }
        out = vostrel::FileBytes(it->second.content);
        return vostrel::ReadStatus::Ok;
    }

    mutable std::vector<std::string> tested;  // every path given to isNormalFile

private:
    struct Entry {
        std::string content;
        Kind kind = Kind::File;
    };
    std::map<std::string, Entry> files_;
};

// Registry values under HKEY_LOCAL_MACHINE as a standard user meets them: names are
// case-insensitive, write rights are refused, data that does not fit gives kErrorMoreData.
class FakeRegistry final : public vostrel::Registry {
public:
    void setValue(const std::string& key, const std::string& name, std::uint32_t type,
                  std::string data) {
        keys_[lower(key)][lower(name)] = {type, std::move(data)};
    }
    void addKey(const std::string& key) { keys_[lower(key)]; }

    vostrel::RegStatus openKey(vostrel::RegKey root, const char* subKey, std::uint32_t options,
                               std::uint32_t access, vostrel::RegKey* result) const override {
        *result = 0;
        const auto key = keys_.find(lower(subKey));
        if ((access & ~vostrel::kKeyRead) != 0 || options != 0) {
            return 5;  // access denied
        }
        if (root != vostrel::kHkeyLocalMachine || key == keys_.end()) {
            return vostrel::kErrorFileNotFound;
        }
        *result = nextHandle_++;
        open_[*result] = key->first;
        return vostrel::kErrorSuccess;
    }

    vostrel::RegStatus queryValue(vostrel::RegKey key, const char* name, std::uint32_t* type,
                                  unsigned char* data, std::uint32_t* size) const override {
        const auto& values = keys_.at(open_.at(key));
        const auto value = values.find(lower(name));
        if (value == values.end()) {
            return vostrel::kErrorFileNotFound;
        }
        *type = value->second.type;
        const auto needed = static_cast<std::uint32_t>(value->second.data.size());
        const bool fits = needed <= *size;
        if (fits) {
            // Registry data is bytes: a terminator is there only when it was stored.
            // NOLINTNEXTLINE(bugprone-not-null-terminated-result)
            std::memcpy(data, value->second.data.data(), needed);
        }
        *size = needed;
        return fits ? vostrel::kErrorSuccess : vostrel::kErrorMoreData;
    }

    vostrel::RegStatus closeKey(vostrel::RegKey key) const override {
        badCloses += open_.erase(key) == 0 ? 1 : 0;
        return vostrel::kErrorSuccess;
    }

    [[nodiscard]] std::size_t stillOpen() const { return open_.size(); }

    mutable int badCloses = 0;  // handles closed that were never open, or closed twice

private:
    struct Value {
        std::uint32_t type = 0;
        std::string data;
    };
    static std::string lower(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    }

    std::map<std::string, std::map<std::string, Value>> keys_;
    mutable std::map<vostrel::RegKey, std::string> open_;
    mutable vostrel::RegKey nextHandle_ = 0x1000;
};

// A system whose ANSI code page is Latin-1 and whose environment holds SystemRoot.
class FakeAnsiText final : public vostrel::AnsiText {
public:
    std::string toUtf8(std::string_view ansi) const override {
        std::string out;
        for (const unsigned char c : ansi) {
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return out;
    }

    std::string expandEnvironment(const std::string& utf8) const override {
        std::string out = utf8;
        const std::string name = "%SystemRoot%";
        for (auto at = out.find(name); at != std::string::npos; at = out.find(name, at)) {
            out.replace(at, name.size(), "C:\\Windows");
        }
        return out;
    }
};

// Starts exactly the programs it was given, and keeps every attempt.
class FakeProgramStart final : public vostrel::ProgramStart {
public:
    std::set<std::string> programs;
    mutable std::vector<std::string> attempts;

    bool start(const std::string& path, int windowStyle) const override {
        attempts.push_back(path + (windowStyle == vostrel::kShowNormal ? "" : " (hidden)"));
        return programs.count(path) != 0;
    }
};

// All four, ready to hand to the windows.
struct FakeSystem {
    FakeFileSystem files;
    FakeAnsiText text;
    FakeRegistry registry;
    FakeProgramStart programs;
    vostrel::Services services{files, text, registry, programs};
};
