#include "GallowsArt.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace gallows {

namespace {

// Indices into the 16 standard Windows colours.
enum Colour : std::uint8_t { kBlack = 0, kMaroon = 1, kOlive = 3, kWhite = 15 };

constexpr std::array<std::uint32_t, 16> kPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

struct Point {
    double x;
    double y;
};

class Canvas {
public:
    Canvas() : pixels_(std::size_t{kSide} * kSide, kWhite) {}

    std::vector<std::uint8_t> take() { return std::move(pixels_); }

    // Coverage is decided per pixel centre, so strokes stay crisp without antialiasing.
    void line(Point a, Point b, double width, Colour c) {
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        const double r = width / 2.0;
        fill(std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
             std::max(a.y, b.y) + r, c, [&](double px, double py) {
                 double t = len2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0.0;
                 t = std::clamp(t, 0.0, 1.0);
                 return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy)) <= r;
             });
    }

    void ring(Point o, double radius, double width, Colour c) {
        const double r = radius + width / 2.0;
        fill(o.x - r, o.y - r, o.x + r, o.y + r, c, [&](double px, double py) {
            return std::abs(std::hypot(px - o.x, py - o.y) - radius) <= width / 2.0;
        });
    }

    void disc(Point o, double radius, Colour c) {
        fill(o.x - radius, o.y - radius, o.x + radius, o.y + radius, c,
             [&](double px, double py) { return std::hypot(px - o.x, py - o.y) <= radius; });
    }

private:
    std::uint8_t& pixel(int x, int y) {
        return pixels_[static_cast<std::size_t>(y) * kSide + static_cast<std::size_t>(x)];
    }

    template <typename Inside>
    void fill(double x0, double y0, double x1, double y1, Colour c, Inside inside) {
        const int left = std::max(0, static_cast<int>(std::floor(x0)));
        const int top = std::max(0, static_cast<int>(std::floor(y0)));
        const int right = std::min(kSide - 1, static_cast<int>(std::ceil(x1)));
        const int bottom = std::min(kSide - 1, static_cast<int>(std::ceil(y1)));
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                if (inside(x + 0.5, y + 0.5)) {
                    pixel(x, y) = c;
                }
            }
        }
    }

    std::vector<std::uint8_t> pixels_;
};

// Where the figure hangs; every body part is placed relative to these.
constexpr double kRopeX = 130;
constexpr Point kHead{kRopeX, 66};
constexpr double kHeadRadius = 14;
constexpr Point kShoulder{kRopeX, 92};
constexpr Point kHip{kRopeX, 128};
constexpr Point kLeftHand{110, 116};
constexpr Point kRightHand{150, 116};
constexpr Point kLeftFoot{114, 162};
constexpr Point kRightFoot{146, 162};
constexpr double kStroke = 4;

void drawGallows(Canvas& c) {
    c.line({16, 186}, {184, 186}, kStroke, kBlack);
    c.line({48, 184}, {48, 20}, 6, kMaroon);
    c.line({45, 20}, {kRopeX + 8, 20}, 6, kMaroon);
    c.line({48, 60}, {88, 20}, 5, kMaroon);
    c.line({kRopeX, 22}, {kRopeX, kHead.y - kHeadRadius}, 3, kOlive);
}

// Stage n adds exactly one part, so the player can count the misses on the picture.
void drawPart(Canvas& c, int n) {
    switch (n) {
        case 1:
            c.ring(kHead, kHeadRadius, kStroke, kBlack);
            break;
        case 2:
            c.line({kRopeX, kHead.y + kHeadRadius}, kHip, kStroke, kBlack);
            break;
        case 3:
            c.line(kShoulder, kLeftHand, kStroke, kBlack);
            break;
        case 4:
            c.line(kShoulder, kRightHand, kStroke, kBlack);
            break;
        case 5:
            c.line(kHip, kLeftFoot, kStroke, kBlack);
            break;
        case 6:
            c.line(kHip, kRightFoot, kStroke, kBlack);
            break;
        case 7:
            c.disc(kLeftHand, 4.5, kBlack);
            break;
        case 8:
            c.disc(kRightHand, 4.5, kBlack);
            break;
        case 9:
            c.line(kLeftFoot, {kLeftFoot.x - 9, kLeftFoot.y + 1}, kStroke, kBlack);
            break;
        case 10:
            c.line(kRightFoot, {kRightFoot.x + 9, kRightFoot.y + 1}, kStroke, kBlack);
            // Crossed-out eyes mark the end of the game.
            for (const double ex : {kHead.x - 5.5, kHead.x + 5.5}) {
                c.line({ex - 3, kHead.y - 6}, {ex + 3, kHead.y}, 2, kBlack);
                c.line({ex - 3, kHead.y}, {ex + 3, kHead.y - 6}, 2, kBlack);
            }
            c.line({kHead.x - 5, kHead.y + 6}, {kHead.x + 5, kHead.y + 6}, 2, kBlack);
            break;
        default:
            break;
    }
}

// Explicit byte order keeps the output identical on big-endian hosts.
void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> drawStage(int misses) {
    Canvas canvas;
    drawGallows(canvas);
    for (int part = 1; part <= misses; ++part) {
        drawPart(canvas, part);
    }
    return canvas.take();
}

std::vector<std::uint8_t> encodeBmp(const std::vector<std::uint8_t>& pixels) {
    constexpr std::uint32_t kRowBytes = (kSide * 4 + 31) / 32 * 4;
    constexpr std::uint32_t kHeaderBytes = 14 + 40 + 4 * kPalette.size();
    constexpr std::uint32_t kImageBytes = kRowBytes * kSide;

    std::vector<std::uint8_t> out;
    out.reserve(kHeaderBytes + kImageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, kHeaderBytes + kImageBytes);
    put32(out, 0);
    put32(out, kHeaderBytes);

    put32(out, 40);
    put32(out, kSide);
    put32(out, kSide);  // positive height: rows are stored bottom-up
    put16(out, 1);
    put16(out, 4);
    put32(out, 0);  // BI_RGB
    put32(out, kImageBytes);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, kPalette.size());
    put32(out, kPalette.size());

    for (const std::uint32_t rgb : kPalette) {
        out.push_back(static_cast<std::uint8_t>(rgb & 0xFF));
        out.push_back(static_cast<std::uint8_t>((rgb >> 8) & 0xFF));
        out.push_back(static_cast<std::uint8_t>((rgb >> 16) & 0xFF));
        out.push_back(0);
    }

    for (int y = kSide - 1; y >= 0; --y) {
        const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * kSide;
        std::uint32_t written = 0;
        for (int x = 0; x < kSide; x += 2) {
            const int low = x + 1 < kSide ? row[x + 1] : 0;
            out.push_back(static_cast<std::uint8_t>((row[x] << 4) | low));
            ++written;
        }
        for (; written < kRowBytes; ++written) {
            out.push_back(0);
        }
    }
    return out;
}

}  // namespace gallows
