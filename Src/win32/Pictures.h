#pragma once

#include <windows.h>

#include <wincodec.h>
#include <wrl/client.h>

#include <string_view>
#include <utility>

namespace vostrel::win32 {

// A picture ready to draw: 32-bit pixels with premultiplied alpha, top row first.
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

// Decodes BMP, PNG and JPEG pictures held in memory: uncompressed BMPs with GDI, the others with
// the system's imaging components, which need COM on the calling thread.
class PictureDecoder {
public:
    // An empty bitmap for data of another format, broken data, or a header that claims more than
    // `maxSide` pixels on a side; such a picture is not decoded at all.
    Bitmap decode(std::string_view bytes, int maxSide);

private:
    Microsoft::WRL::ComPtr<IWICImagingFactory> factory_;
};

}  // namespace vostrel::win32
