#include "Pictures.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>

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
    if (factory_ == nullptr &&
        FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory_)))) {
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
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    Bitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0),
                  static_cast<int>(width), static_cast<int>(height));
    const UINT stride = width * 4;
    if (!bitmap || FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                                static_cast<BYTE*>(pixels)))) {
        return {};
    }
    return bitmap;
}

}  // namespace vostrel::win32
