#include "Pictures.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include "forms/Definitions.h"

namespace vostrel::win32 {
namespace {

std::uint32_t number(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

}  // namespace

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        reset();
        handle_ = std::exchange(other.handle_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

void Bitmap::reset() {
    if (handle_ != nullptr) {
        ::DeleteObject(handle_);
        handle_ = nullptr;
    }
}

Bitmap decodeBitmap(std::string_view bytes, int maxSide) {
    if (!forms::isPicture(bytes)) {
        return {};
    }
    // The oldest header has 16-bit sides and three bytes a palette entry; the others 32-bit sides,
    // a negative height standing for rows stored top first.
    const std::uint32_t headerSize = number(bytes, 14, 4);
    const bool core = headerSize == sizeof(BITMAPCOREHEADER);
    const std::int64_t width =
        core ? number(bytes, 18, 2) : static_cast<std::int32_t>(number(bytes, 18, 4));
    const std::int64_t height =
        std::llabs(core ? number(bytes, 20, 2) : static_cast<std::int32_t>(number(bytes, 22, 4)));
    const std::uint32_t bits = number(bytes, core ? 24 : 28, 2);
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide ||
        headerSize > sizeof(BITMAPV5HEADER) || bytes.size() < 14 + headerSize) {
        return {};
    }
    const std::uint64_t maxColours = bits <= 8 ? std::uint64_t{1} << bits : 0;
    const std::uint64_t colours = core ? 0 : number(bytes, 46, 4);
    const std::uint64_t palette = bits > 8 ? 0 : colours == 0 ? maxColours : colours;
    // A short header is followed by the bit fields' three masks.
    const std::uint64_t masks =
        !core && headerSize == sizeof(BITMAPINFOHEADER) && number(bytes, 30, 4) == BI_BITFIELDS ? 12
                                                                                                : 0;
    const std::uint64_t infoSize = headerSize + masks + palette * (core ? 3 : 4);
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t offset = number(bytes, 10, 4);
    if (palette > maxColours || 14 + infoSize > bytes.size() ||
        offset + stride * static_cast<std::uint64_t>(height) > bytes.size()) {
        return {};
    }
    // Copied out: GDI wants the header aligned, which in the file it is not.
    std::string info(bytes.substr(14, infoSize));
    if (!core && bits > 8) {
        info.replace(32, 4, 4, '\0');  // a palette GDI would read, though it draws without one
    }
    BITMAPINFO target{};
    target.bmiHeader = {sizeof target.bmiHeader,
                        static_cast<LONG>(width),
                        static_cast<LONG>(height),
                        1,
                        32,
                        BI_RGB,
                        0,
                        0,
                        0,
                        0,
                        0};
    void* pixels = nullptr;
    Bitmap bitmap(::CreateDIBSection(nullptr, &target, DIB_RGB_COLORS, &pixels, nullptr, 0),
                  static_cast<int>(width), static_cast<int>(height));
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap.handle());
    const int drawn =
        ::StretchDIBits(dc, 0, 0, bitmap.width(), bitmap.height(), 0, 0, bitmap.width(),
                        bitmap.height(), bytes.data() + offset,
                        reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bitmap && drawn != 0 ? std::move(bitmap) : Bitmap();
}

}  // namespace vostrel::win32
