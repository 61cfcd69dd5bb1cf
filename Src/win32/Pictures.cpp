#include "Pictures.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "Com.h"

namespace vostrel::win32 {

using Microsoft::WRL::ComPtr;

namespace {

struct Header {
    GUID container;
    int width = 0;
    int height = 0;
};

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::uint32_t bigEndian(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

int side(std::int64_t pixels) {
    return static_cast<int>(std::min<std::int64_t>(std::llabs(pixels), INT_MAX));
}

// The size a JPEG claims in its first frame header.
std::optional<Header> jpegHeader(std::string_view bytes) {
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (static_cast<unsigned char>(bytes[at]) != 0xFF) {
            return std::nullopt;
        }
        const auto marker = static_cast<unsigned char>(bytes[at + 1]);
        if (marker == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > bytes.size()) {
                return std::nullopt;
            }
            return Header{GUID_ContainerFormatJpeg, side(bigEndian(bytes, at + 7, 2)),
                          side(bigEndian(bytes, at + 5, 2))};
        }
        at += 2 + bigEndian(bytes, at + 2, 2);
    }
    return std::nullopt;
}

// The format and size a picture's header claims, read without decoding anything.
std::optional<Header> header(std::string_view bytes) {
    if (bytes.size() >= 26 && bytes.starts_with("BM")) {
        if (littleEndian(bytes, 14, 4) == 12) {  // the oldest header, with 16-bit sides
            return Header{GUID_ContainerFormatBmp, side(littleEndian(bytes, 18, 2)),
                          side(littleEndian(bytes, 20, 2))};
        }
        // A negative height stands for rows stored top first.
        return Header{GUID_ContainerFormatBmp,
                      side(static_cast<std::int32_t>(littleEndian(bytes, 18, 4))),
                      side(static_cast<std::int32_t>(littleEndian(bytes, 22, 4)))};
    }
    if (bytes.size() >= 24 && bytes.starts_with("\x89PNG\r\n\x1A\n") &&
        bytes.substr(12, 4) == "IHDR") {
        return Header{GUID_ContainerFormatPng, side(bigEndian(bytes, 16, 4)),
                      side(bigEndian(bytes, 20, 4))};
    }
    if (bytes.size() >= 4 && bytes.starts_with("\xFF\xD8")) {
        return jpegHeader(bytes);
    }
    return std::nullopt;
}

// A bitmap of 32-bit pixels, top row first, to draw into.
Bitmap dibSection(int width, int height, void*& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return {::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0), width, height};
}

// An uncompressed BMP, the kind the game ships, is drawn by GDI itself once its header and
// palette are known to lie within the bytes: no imaging components need loading for it. Null
// for a BMP of another kind; an empty bitmap for one that is broken.
std::optional<Bitmap> uncompressedBmp(std::string_view bytes, const Header& claimed) {
    const std::uint32_t headerSize = littleEndian(bytes, 14, 4);
    if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > sizeof(BITMAPV5HEADER) ||
        bytes.size() < 14 + headerSize || littleEndian(bytes, 30, 4) != BI_RGB) {
        return std::nullopt;
    }
    const std::uint32_t bits = littleEndian(bytes, 28, 2);
    const std::uint32_t colours = littleEndian(bytes, 46, 4);
    const std::uint64_t maxColours = bits <= 8 ? 1u << bits : 0;
    const std::uint64_t palette = bits <= 8 ? (colours == 0 ? maxColours : colours) : 0;
    const std::uint64_t stride = (static_cast<std::uint64_t>(claimed.width) * bits + 31) / 32 * 4;
    const std::uint64_t offset = littleEndian(bytes, 10, 4);
    if ((bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) ||
        littleEndian(bytes, 26, 2) != 1 || palette > maxColours ||
        14 + headerSize + 4 * palette > bytes.size() ||
        offset + stride * static_cast<std::uint64_t>(claimed.height) > bytes.size()) {
        return Bitmap();
    }
    // The header and palette are copied out: GDI wants them aligned, which in the file they are
    // not.
    std::string info(bytes.substr(14, headerSize + 4 * palette));
    if (bits > 8) {
        info.replace(32, 4, 4, '\0');  // a palette GDI would read, though it draws without one
    }
    void* pixels = nullptr;
    Bitmap bitmap = dibSection(claimed.width, claimed.height, pixels);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap.handle());
    const int drawn =
        ::StretchDIBits(dc, 0, 0, claimed.width, claimed.height, 0, 0, claimed.width,
                        claimed.height, bytes.data() + offset,
                        reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    if (!bitmap || drawn == 0) {
        return Bitmap();
    }
    // Such a picture has no transparency: every pixel is made opaque for the alpha blend.
    auto* pixel = static_cast<std::uint32_t*>(pixels);
    for (std::size_t i = 0; i < static_cast<std::size_t>(claimed.width) * claimed.height; ++i) {
        pixel[i] |= 0xFF000000u;
    }
    return bitmap;
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

Bitmap PictureDecoder::decode(std::string_view bytes, int maxSide) {
    // Some decoders read the whole picture as soon as they are given it, so its claimed size is
    // checked here first.
    const std::optional<Header> claimed = header(bytes);
    if (!claimed || claimed->width <= 0 || claimed->height <= 0 || claimed->width > maxSide ||
        claimed->height > maxSide || bytes.size() > MAXDWORD) {
        return {};
    }
    if (claimed->container == GUID_ContainerFormatBmp) {
        if (std::optional<Bitmap> drawn = uncompressedBmp(bytes, *claimed)) {
            return std::move(*drawn);
        }
    }
    if (factory_ == nullptr &&
        FAILED(createComObject(CLSID_WICImagingFactory, IID_IWICImagingFactory,
                               reinterpret_cast<void**>(factory_.GetAddressOf())))) {
        return {};
    }
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    // The stream only reads the bytes, whatever its signature says.
    auto* data = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()));
    if (FAILED(factory_->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(data, static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory_->CreateDecoder(claimed->container, nullptr, &decoder)) ||
        FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) ||
        width == 0 || height == 0 || width > static_cast<UINT>(maxSide) ||
        height > static_cast<UINT>(maxSide) ||
        FAILED(factory_->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return {};
    }
    void* pixels = nullptr;
    Bitmap bitmap = dibSection(static_cast<int>(width), static_cast<int>(height), pixels);
    const UINT stride = width * 4;
    if (!bitmap || FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                                static_cast<BYTE*>(pixels)))) {
        return {};
    }
    return bitmap;
}

}  // namespace vostrel::win32
