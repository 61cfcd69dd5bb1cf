// Draws the program's icons at build time from its pixel art, enlarged pixel for pixel without
// smoothing, so the art stays crisp at every size.
// Usage: icons <output-folder> <icon-name>
// Writes hicolor/<n>x<n>/apps/<icon-name>.png for the desktop's icon theme and <icon-name>.ico
// for the Windows program file.
//
// Plain C++ and no library, so that a cross build can run it on the build machine. The PNGs are
// stored, not compressed: the art is small and the packages compress it anyway.

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

// A zlib stream of stored deflate blocks.
Bytes zlibStored(std::span<const std::uint8_t> data) {
    constexpr std::size_t kBlock = 65535;
    Bytes out{0x78, 0x01};
    std::size_t done = 0;
    do {
        const std::size_t length = std::min(kBlock, data.size() - done);
        out.push_back(done + length == data.size() ? 1 : 0);  // the last block, stored
        putLittle(out, static_cast<std::uint32_t>(length), 2);
        putLittle(out, static_cast<std::uint32_t>(~length & 0xFFFF), 2);
        const auto from = data.subspan(done, length);
        out.insert(out.end(), from.begin(), from.end());
        done += length;
    } while (done < data.size());
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

    Bytes rows;
    for (int y = 0; y < image.side; ++y) {
        rows.push_back(0);  // no filter
        for (int x = 0; x < image.side; ++x) {
            const Rgba p = image.at(x, y);
            rows.insert(rows.end(), {p.r, p.g, p.b, p.a});
        }
    }

    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", zlibStored(rows));
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
