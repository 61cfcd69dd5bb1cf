#include "Bitmap.h"

#include <array>
#include <bit>
#include <cstddef>

namespace vostrel {
namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kPlain = 0;      // BI_RGB
constexpr std::uint32_t kBitFields = 3;  // BI_BITFIELDS

std::uint32_t readLe(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

// One channel of a bit-field pixel, widened to eight bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m)
        : mask(m), shift(m != 0 ? std::countr_zero(m) : 0), max(m >> shift) {}
    [[nodiscard]] std::uint8_t of(std::uint32_t pixel) const {
        return max == 0 ? 0 : static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / max);
    }
};

}  // namespace

Bitmap decodeBmp(std::string_view bytes, int maxSide) {
    if (bytes.size() < kFileHeader + 12 || !bytes.starts_with("BM")) {
        return {};
    }
    const std::uint32_t pixelsAt = readLe(bytes, 10, 4);
    const std::uint32_t headerSize = readLe(bytes, kFileHeader, 4);
    const bool core = headerSize == 12;  // the oldest header: 16-bit sizes, 3-byte palette
    // Not kFileHeader + headerSize: with WebAssembly's 32-bit sizes, that can wrap to a small sum.
    if ((!core && headerSize < 40) || headerSize > bytes.size() - kFileHeader) {
        return {};
    }
    const auto width = static_cast<std::int32_t>(readLe(bytes, 18, core ? 2 : 4));
    auto height = static_cast<std::int32_t>(readLe(bytes, core ? 20 : 22, core ? 2 : 4));
    if (core) {
        height = static_cast<std::int16_t>(height);
    }
    const bool topDown = height < 0;
    const std::int64_t signedRows = topDown ? -std::int64_t{height} : height;
    const std::uint32_t bits = readLe(bytes, core ? 24 : 28, 2);
    const std::uint32_t compression = core ? kPlain : readLe(bytes, 30, 4);
    if (width <= 0 || signedRows <= 0 || width > maxSide || signedRows > maxSide ||
        (compression != kPlain && !(compression == kBitFields && (bits == 16 || bits == 32)))) {
        return {};
    }

    // The palette, or the bit fields' masks, follow the header.
    std::size_t at = kFileHeader + headerSize;
    std::array<std::uint32_t, 256> palette{};
    std::array<std::uint32_t, 3> masks{0x7C00, 0x03E0, 0x001F};  // 5 bits each at 16 bits
    if (bits == 32) {
        masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }
    if (bits <= 8) {
        if (bits != 1 && bits != 4 && bits != 8) {
            return {};
        }
        const std::uint32_t used = core ? 0 : readLe(bytes, 46, 4);
        const std::size_t colours = used != 0 && used < (1U << bits) ? used : (1U << bits);
        const std::size_t entry = core ? 3 : 4;
        if (at + colours * entry > bytes.size()) {
            return {};
        }
        for (std::size_t i = 0; i < colours; ++i, at += entry) {
            palette[i] = readLe(bytes, at, 3);
        }
    } else if (compression == kBitFields) {
        // In the header itself from its fourth version on, else right after it.
        const std::size_t masksAt = headerSize >= 52 ? kFileHeader + 40 : at;
        if (masksAt + 12 > bytes.size()) {
            return {};
        }
        for (std::size_t i = 0; i < 3; ++i) {
            masks[i] = readLe(bytes, masksAt + 4 * i, 4);
        }
    } else if (bits != 16 && bits != 24 && bits != 32) {
        return {};
    }

    const auto columns = static_cast<std::size_t>(width);
    const auto rows = static_cast<std::size_t>(signedRows);
    const std::size_t stride = (columns * bits + 31) / 32 * 4;
    if (pixelsAt > bytes.size() || (bytes.size() - pixelsAt) / stride < rows) {
        return {};
    }
    const Channel red(masks[0]);
    const Channel green(masks[1]);
    const Channel blue(masks[2]);

    Bitmap bitmap{width, static_cast<int>(rows), {}};
    bitmap.rgba.resize(columns * rows * 4);
    std::uint8_t* out = bitmap.rgba.data();
    for (std::size_t y = 0; y < rows; ++y) {
        const std::size_t row = pixelsAt + (topDown ? y : rows - 1 - y) * stride;
        for (std::size_t x = 0; x < columns; ++x, out += 4) {
            std::uint32_t rgb = 0;
            if (bits <= 8) {
                const std::size_t bit = x * bits;
                const auto byte = static_cast<unsigned char>(bytes[row + bit / 8]);
                rgb = palette[(byte >> (8 - bits - bit % 8)) & ((1U << bits) - 1)];
            } else if (bits == 24) {
                rgb = readLe(bytes, row + x * 3, 3);
            } else {
                const std::uint32_t pixel = readLe(bytes, row + x * bits / 8, bits / 8);
                rgb = std::uint32_t{red.of(pixel)} << 16 | std::uint32_t{green.of(pixel)} << 8 |
                      blue.of(pixel);
            }
            out[0] = static_cast<std::uint8_t>(rgb >> 16);
            out[1] = static_cast<std::uint8_t>(rgb >> 8);
            out[2] = static_cast<std::uint8_t>(rgb);
            out[3] = 255;
        }
    }
    return bitmap;
}

}  // namespace vostrel
