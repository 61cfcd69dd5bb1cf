#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace vostrel {

// The bytes of a whole file: either held in a string, or a region lent by the system (a mapping of
// the file) that `release` gives back. Move-only, so a region has exactly one owner.
class FileBytes {
public:
    using Release = void (*)(void* region, std::size_t size);

    FileBytes() = default;
    explicit FileBytes(std::string text) : text_(std::move(text)) {}
    FileBytes(void* region, std::size_t size, Release release)
        : region_(region), size_(size), release_(release) {}

    FileBytes(FileBytes&& other) noexcept { take(other); }
    FileBytes& operator=(FileBytes&& other) noexcept {
        if (this != &other) {
            clear();
            take(other);
        }
        return *this;
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    ~FileBytes() { clear(); }

    [[nodiscard]] std::string_view view() const {
        return release_ != nullptr ? std::string_view(static_cast<const char*>(region_), size_)
                                   : std::string_view(text_);
    }
    [[nodiscard]] std::size_t size() const { return view().size(); }
    [[nodiscard]] bool empty() const { return view().empty(); }

    void clear() {
        if (release_ != nullptr) {
            release_(region_, size_);
        }
        region_ = nullptr;
        size_ = 0;
        release_ = nullptr;
        text_.clear();
    }

private:
    void take(FileBytes& other) noexcept {
        text_ = std::move(other.text_);
        other.text_.clear();
        region_ = std::exchange(other.region_, nullptr);
        size_ = std::exchange(other.size_, 0);
        release_ = std::exchange(other.release_, nullptr);
    }

    std::string text_;
    void* region_ = nullptr;
    std::size_t size_ = 0;
    Release release_ = nullptr;
};

}  // namespace vostrel
