#pragma once

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/Text.h"

// Registry values under HKEY_LOCAL_MACHINE, kept to the system functions' contracts as a standard
// user meets them: names are case-insensitive, write rights are refused, data that does not fit
// gives kErrorMoreData with the size it needs. It also keeps the count of what was asked of it.
class FakeRegistry final : public vostrel::Registry {
public:
    void setValue(const std::string& key, const std::string& name, std::uint32_t type,
                  std::string data) {
        keys_[lower(key)][lower(name)] = {type, std::move(data)};
    }
    void addKey(const std::string& key) { keys_[lower(key)]; }

    vostrel::RegStatus openKey(vostrel::RegKey root, const char* subKey, std::uint32_t options,
                               std::uint32_t access, vostrel::RegKey* result) const override {
        if (result == nullptr || options != 0) {
            return vostrel::kErrorInvalidParameter;
        }
        *result = 0;
        opened.push_back(subKey);
        accessAsked.push_back(access);
        if ((access & ~vostrel::kKeyRead) != 0) {
            return vostrel::kErrorAccessDenied;
        }
        const auto key = keys_.find(lower(subKey));
        if (root != vostrel::kHkeyLocalMachine || key == keys_.end()) {
            return vostrel::kErrorFileNotFound;
        }
        *result = nextHandle_++;
        open_[*result] = key->first;
        return vostrel::kErrorSuccess;
    }

    vostrel::RegStatus queryValue(vostrel::RegKey key, const char* name, std::uint32_t* type,
                                  unsigned char* data, std::uint32_t* size) const override {
        const auto handle = open_.find(key);
        if (handle == open_.end()) {
            return vostrel::kErrorInvalidHandle;
        }
        queried.push_back(name);
        const auto& values = keys_.at(handle->second);
        const auto value = values.find(lower(name));
        if (value == values.end()) {
            return vostrel::kErrorFileNotFound;
        }
        if (type != nullptr) {
            *type = value->second.type;
        }
        if (data != nullptr && size == nullptr) {
            return vostrel::kErrorInvalidParameter;
        }
        const auto needed = static_cast<std::uint32_t>(value->second.data.size());
        const bool fits = data == nullptr || needed <= *size;
        if (size != nullptr) {
            if (fits && data != nullptr) {
                // Registry data is bytes: a terminator is there only when it was stored.
                // NOLINTNEXTLINE(bugprone-not-null-terminated-result)
                std::memcpy(data, value->second.data.data(), needed);
            }
            *size = needed;
        }
        return fits ? vostrel::kErrorSuccess : vostrel::kErrorMoreData;
    }

    vostrel::RegStatus closeKey(vostrel::RegKey key) const override {
        if (open_.erase(key) == 0) {
            ++badCloses;
            return vostrel::kErrorInvalidHandle;
        }
        ++closes;
        return vostrel::kErrorSuccess;
    }

    [[nodiscard]] std::size_t stillOpen() const { return open_.size(); }

    mutable std::vector<std::string> opened;  // every key asked for, in order
    mutable std::vector<std::uint32_t> accessAsked;
    mutable std::vector<std::string> queried;
    mutable int closes = 0;
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

// A system whose ANSI code page is Latin-1 and whose environment holds SystemRoot. It can fail
// the way a full memory would, to prove such errors end in the message too.
class FakeAnsiText final : public vostrel::AnsiText {
public:
    bool fail = false;

    std::string toUtf8(std::string_view ansi) const override {
        if (fail) {
            throw std::bad_alloc();
        }
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
