// Draws the program's icons at build time from its pixel art, enlarged pixel for pixel without
// smoothing, so the art stays crisp at every size.
// Usage: icons <output-folder> <icon-name>
// Writes hicolor/<n>x<n>/apps/<icon-name>.png for the desktop's icon theme and <icon-name>.ico
// for the Windows program file.
//
// Plain C++ and no library, so that a cross build can run it on the build machine. Enlarged pixel
// art is long runs of one colour and rows that repeat the row above; filtered, that is mostly
// zeros, which a plain run-length deflate shrinks to a few kilobytes even at 256 pixels.

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "vostrel16.xpm"
#include "vostrel32.xpm"

namespace {

constexpr std::array<int, 6> kThemeSizes{16, 32, 48, 64, 128, 256};
// Windows draws small icons best from plain bitmaps; from Vista on it reads the large one as PNG.
constexpr std::array<int, 3> kIcoBitmapSizes{16, 32, 48};
constexpr int kIcoPngSize = 256;

struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 0;
};

struct Image {
    int side = 0;
    std::vector<Rgba> pixels;  // row by row from the top

    [[nodiscard]] Rgba at(int x, int y) const {
        return pixels.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(side) +
                         static_cast<std::size_t>(x));
    }
};

// Reads the subset of XPM the art uses: a square image, colours as #RRGGBB or None.
Image readXpm(std::span<const char* const> xpm) {
    int width = 0;
    std::size_t height = 0;
    std::size_t colours = 0;
    std::size_t cpp = 0;  // characters per pixel
    std::istringstream(xpm[0]) >> width >> height >> colours >> cpp;
    if (width <= 0 || static_cast<std::size_t>(width) != height || colours == 0 || cpp == 0 ||
        xpm.size() != 1 + colours + height) {
        throw std::runtime_error("unexpected XPM header");
    }
    std::map<std::string_view, Rgba> palette;  // keys point into the art itself
    for (std::size_t i = 1; i <= colours; ++i) {
        const std::string_view line = xpm[i];
        const std::string_view value = line.substr(line.find(" c ") + 3);
        Rgba colour;
        if (value.size() == 7 && value[0] == '#') {
            const unsigned long rgb = std::stoul(std::string(value.substr(1)), nullptr, 16);
            colour = {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                      static_cast<std::uint8_t>(rgb), 0xFF};
        } else if (value != "None") {
            throw std::runtime_error("unexpected XPM colour");
        }
        palette.emplace(line.substr(0, cpp), colour);
    }
    Image image{width, {}};
    for (std::size_t y = 0; y < height; ++y) {
        const std::string_view row = xpm[1 + colours + y];
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
            image.pixels.push_back(palette.at(row.substr(x * cpp, cpp)));
        }
    }
    return image;
}

// The 16-pixel art is drawn for its size; every larger size grows from the 32-pixel art.
Image icon(int side) {
    const Image art = side < 32 ? readXpm(vostrel16_xpm) : readXpm(vostrel32_xpm);
    Image image{side, {}};
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            // The art pixel under this pixel's centre.
            image.pixels.push_back(
                art.at((2 * x + 1) * art.side / (2 * side), (2 * y + 1) * art.side / (2 * side)));
        }
    }
    return image;
}

using Bytes = std::vector<std::uint8_t>;

void putLittle(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void putBig(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xEDB88320 : 0);
        }
    }
    return ~crc;
}

std::uint32_t adler32(std::span<const std::uint8_t> bytes) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// Deflate's bits, least significant first; Huffman codes go most significant first.
class BitWriter {
public:
    explicit BitWriter(Bytes& out) : out_(out) {}
    void bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            bit((value >> i) & 1);
        }
    }
    void code(std::uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i) {
            bit((value >> i) & 1);
        }
    }
    void flush() {
        while (used_ != 0) {
            bit(0);
        }
    }

private:
    void bit(std::uint32_t b) {
        byte_ |= static_cast<std::uint8_t>(b << used_);
        if (++used_ == 8) {
            out_.push_back(byte_);
            byte_ = 0;
            used_ = 0;
        }
    }
    Bytes& out_;
    std::uint8_t byte_ = 0;
    int used_ = 0;
};

// A literal byte, a length, or the end of the block, in deflate's fixed Huffman code.
void fixedCode(BitWriter& bits, int symbol) {
    if (symbol < 144) {
        bits.code(0x30 + static_cast<std::uint32_t>(symbol), 8);
    } else if (symbol < 256) {
        bits.code(0x190 + static_cast<std::uint32_t>(symbol - 144), 9);
    } else if (symbol < 280) {
        bits.code(static_cast<std::uint32_t>(symbol - 256), 7);
    } else {
        bits.code(0xC0 + static_cast<std::uint32_t>(symbol - 280), 8);
    }
}

// Repeats the byte before, `length` (3 to 258) times: a length code and distance 1.
void repeat(BitWriter& bits, int length) {
    constexpr std::array<int, 29> kBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                        15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                        67, 83, 99, 115, 131, 163, 195, 227, 258};
    int code = 28;
    while (kBase.at(static_cast<std::size_t>(code)) > length) {
        --code;
    }
    const int extra = code < 8 || code == 28 ? 0 : (code - 4) / 4;
    fixedCode(bits, 257 + code);
    bits.bits(static_cast<std::uint32_t>(length - kBase.at(static_cast<std::size_t>(code))), extra);
    bits.code(0, 5);  // distance 1
}

// A zlib stream of one deflate block with the fixed code, runs of a byte sent as repeats.
Bytes zlib(std::span<const std::uint8_t> data) {
    Bytes out{0x78, 0x01};
    BitWriter bits(out);
    bits.bits(1, 1);  // the last block
    bits.bits(1, 2);  // fixed Huffman codes
    for (std::size_t i = 0; i < data.size();) {
        std::size_t run = 0;
        while (i > 0 && i + run < data.size() && run < 258 && data[i + run] == data[i - 1]) {
            ++run;
        }
        if (run >= 3) {
            repeat(bits, static_cast<int>(run));
            i += run;
        } else {
            fixedCode(bits, data[i++]);
        }
    }
    fixedCode(bits, 256);
    bits.flush();
    putBig(out, adler32(data));
    return out;
}

void putChunk(Bytes& out, std::string_view type, const Bytes& data) {
    putBig(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    putBig(out, crc32(std::span(out).subspan(start)));
}

// 8-bit RGBA, the form Windows requires of a PNG inside an icon.
Bytes png(const Image& image) {
    const auto side = static_cast<std::uint32_t>(image.side);
    Bytes header;
    putBig(header, side);
    putBig(header, side);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace

    // A row like the one above is sent as its difference from it (filter 2), any other as the
    // difference of each pixel from the one before (filter 1): either way mostly zeros.
    const std::size_t stride = 4 * static_cast<std::size_t>(image.side);
    Bytes raw;
    for (const Rgba& p : image.pixels) {
        raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
    }
    Bytes rows;
    for (std::size_t y = 0; y < side; ++y) {
        const std::span<const std::uint8_t> row(raw.data() + y * stride, stride);
        const bool likeAbove =
            y > 0 && std::equal(row.begin(), row.end(), raw.data() + (y - 1) * stride);
        rows.push_back(likeAbove ? 2 : 1);
        for (std::size_t i = 0; i < stride; ++i) {
            const std::uint8_t before = likeAbove ? raw[(y - 1) * stride + i]
                                        : i < 4   ? 0
                                                  : row[i - 4];
            rows.push_back(static_cast<std::uint8_t>(row[i] - before));
        }
    }

    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", zlib(rows));
    putChunk(out, "IEND", {});
    return out;
}

// A bitmap as an icon holds it: a header of twice the height, the colours bottom-up, then the
// mask of transparent pixels.
Bytes iconBitmap(const Image& image) {
    const auto side = static_cast<std::uint32_t>(image.side);
    const std::uint32_t maskRow = (side + 31) / 32 * 4;
    Bytes out;
    putLittle(out, 40, 4);
    putLittle(out, side, 4);
    putLittle(out, 2 * side, 4);
    putLittle(out, 1, 2);
    putLittle(out, 32, 2);
    putLittle(out, 0, 4);  // BI_RGB
    putLittle(out, side * side * 4 + maskRow * side, 4);
    for (int i = 0; i < 4; ++i) {
        putLittle(out, 0, 4);  // resolution and colour counts: none
    }
    for (int y = image.side - 1; y >= 0; --y) {
        for (int x = 0; x < image.side; ++x) {
            const Rgba p = image.at(x, y);
            out.insert(out.end(), {p.b, p.g, p.r, p.a});
        }
    }
    for (int y = image.side - 1; y >= 0; --y) {
        Bytes row(maskRow, 0);
        for (int x = 0; x < image.side; ++x) {
            if (image.at(x, y).a == 0) {
                row.at(static_cast<std::size_t>(x / 8)) |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes ico() {
    std::vector<std::pair<int, Bytes>> images;
    images.reserve(kIcoBitmapSizes.size() + 1);
    for (const int side : kIcoBitmapSizes) {
        images.emplace_back(side, iconBitmap(icon(side)));
    }
    images.emplace_back(kIcoPngSize, png(icon(kIcoPngSize)));

    Bytes out;
    putLittle(out, 0, 2);
    putLittle(out, 1, 2);  // an icon, not a cursor
    putLittle(out, static_cast<std::uint32_t>(images.size()), 2);
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const auto& [side, bytes] : images) {
        out.push_back(static_cast<std::uint8_t>(side & 0xFF));  // 0 stands for 256
        out.push_back(static_cast<std::uint8_t>(side & 0xFF));
        out.insert(out.end(), {0, 0});  // no palette, reserved
        putLittle(out, 1, 2);
        putLittle(out, 32, 2);
        putLittle(out, static_cast<std::uint32_t>(bytes.size()), 4);
        putLittle(out, offset, 4);
        offset += static_cast<std::uint32_t>(bytes.size());
    }
    for (const auto& image : images) {
        out.insert(out.end(), image.second.begin(), image.second.end());
    }
    return out;
}

bool write(const std::filesystem::path& path, const Bytes& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    if (args.size() != 3) {
        std::cerr << "usage: icons <output-folder> <icon-name>\n";
        return 2;
    }
    const std::filesystem::path out = args[1];
    const std::string name = args[2];
    try {
        bool ok = write(out / (name + ".ico"), ico());
        for (const int side : kThemeSizes) {
            const std::string size = std::to_string(side);
            ok = write(out / "hicolor" / (size + 'x').append(size) / "apps" / (name + ".png"),
                       png(icon(side))) &&
                 ok;
        }
        if (!ok) {
            std::cerr << "icons: cannot write the icons\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "icons: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
