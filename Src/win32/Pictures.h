#pragma once

#include <windows.h>

#include <string_view>
#include <utility>

namespace vostrel::win32 {

// A picture ready to draw, as the system's own bitmap.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(HBITMAP handle, int width, int height)
        : handle_(handle), width_(width), height_(height) {}
    ~Bitmap() { reset(); }
    Bitmap(Bitmap&& other) noexcept { *this = std::move(other); }
    Bitmap& operator=(Bitmap&& other) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    [[nodiscard]] HBITMAP handle() const { return handle_; }
    [[nodiscard]] int width() const { return width_; }
    [[nodiscard]] int height() const { return height_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    void reset();

    HBITMAP handle_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Draws a Windows bitmap held in memory with GDI, which reads every kind the game counts as a
// picture. An empty bitmap for any other data, one whose header, palette or pixels reach past
// its bytes, or one that claims more than `maxSide` pixels on a side: GDI reads none of those.
Bitmap decodeBitmap(std::string_view bytes, int maxSide);

}  // namespace vostrel::win32
