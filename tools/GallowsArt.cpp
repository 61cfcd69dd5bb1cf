#include "GallowsArt.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace gallows {

namespace {

// Indices into the 16 standard Windows colours.
enum Colour : std::uint8_t {
    kBlack = 0,
    kMaroon = 1,
    kGreen = 2,
    kOlive = 3,
    kSilver = 7,
    kGrey = 8,
    kYellow = 11,
    kWhite = 15
};

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

    // Paints c wherever the white ground still shows, except inside the disc that is kept.
    void behind(Colour c, Point keep, double keepRadius) {
        fill(0, 0, kSide, kSide, c, [&](double px, double py) {
            return pixel(px, py) == kWhite && std::hypot(px - keep.x, py - keep.y) > keepRadius;
        });
    }

    void rect(Point topLeft, Point bottomRight, Colour c) {
        fill(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y, c, [&](double px, double py) {
            return px >= topLeft.x && px < bottomRight.x && py >= topLeft.y && py < bottomRight.y;
        });
    }

private:
    std::uint8_t& pixel(double x, double y) {
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

// The scene: a meadow, the gallows on the left, the figure hanging on the right. Strokes are
// thick so a stage can be told from the next across a room.
constexpr double kGround = 186;
constexpr double kWood = 14;
constexpr double kPostX = 52;
constexpr double kBeamY = 28;
constexpr double kRopeX = 140;
constexpr double kRope = 6;
constexpr double kHeadRadius = 16;
constexpr Point kHead{kRopeX, kBeamY + kWood + 16 + kHeadRadius};
constexpr Point kNeck{kRopeX, kHead.y + kHeadRadius + 5};
constexpr Point kShoulder{kRopeX, kNeck.y + 8};
constexpr Point kHip{kRopeX, kShoulder.y + 38};
constexpr Point kLeftHand{kRopeX - 32, kShoulder.y + 34};
constexpr Point kRightHand{kRopeX + 32, kShoulder.y + 34};
constexpr Point kLeftFoot{kRopeX - 26, kHip.y + 34};
constexpr Point kRightFoot{kRopeX + 26, kHip.y + 34};
constexpr double kLimb = 11;
// A calm sky to start with: the sun, and a flat-bottomed cloud over the middle of the picture.
constexpr Point kSun{178, 20};
constexpr double kSunRadius = 12;
struct Puff {
    Point centre;
    double radius;
};
constexpr std::array<Puff, 4> kCloud{
    {{{86, 16}, 7}, {{98, 11}, 9}, {{110, 14}, 8}, {{119, 17}, 6}}};
constexpr double kCloudBottom = 23;

// Stage n adds exactly one part, so the player can count the misses on the picture: base, post,
// beam, rope, head, body, arms and legs.
void drawPart(Canvas& c, int n) {
    switch (n) {
        case 0:
            c.rect({0, kGround}, {kSide, kSide}, kGreen);
            c.disc(kSun, kSunRadius, kYellow);
            for (const Puff& puff : kCloud) {
                c.disc(puff.centre, puff.radius, kSilver);
            }
            c.rect({kCloud.front().centre.x, kCloud.front().centre.y},
                   {kCloud.back().centre.x, kCloudBottom}, kSilver);
            break;
        case 1:
            c.rect({18, kGround - kWood}, {116, kGround}, kMaroon);
            break;
        case 2:
            c.rect({kPostX - kWood / 2, kBeamY}, {kPostX + kWood / 2, kGround - kWood}, kMaroon);
            break;
        case 3:
            c.rect({kPostX - kWood / 2, kBeamY}, {kRopeX + 16, kBeamY + kWood}, kMaroon);
            c.line({kPostX, kBeamY + 50}, {kPostX + 40, kBeamY + 10}, 8, kMaroon);
            break;
        case 4:
            c.line({kRopeX, kBeamY + kWood}, kNeck, kRope, kOlive);
            c.ring({kNeck.x, kNeck.y + 4}, 6, 5, kOlive);
            break;
        case 5:
            c.disc(kHead, kHeadRadius, kWhite);
            c.ring(kHead, kHeadRadius, 6, kBlack);
            break;
        case 6:
            c.line(kShoulder, kHip, kLimb, kBlack);
            break;
        case 7:
            c.line(kShoulder, kLeftHand, kLimb, kBlack);
            break;
        case 8:
            c.line(kShoulder, kRightHand, kLimb, kBlack);
            break;
        case 9:
            c.line(kHip, kLeftFoot, kLimb, kBlack);
            break;
        case 10:
            c.line(kHip, kRightFoot, kLimb, kBlack);
            // Crossed-out eyes, and the sun goes out: no one can miss that the game is over.
            for (const double ex : {kHead.x - 5.5, kHead.x + 5.5}) {
                c.line({ex - 3, kHead.y - 7}, {ex + 3, kHead.y - 1}, 2.5, kBlack);
                c.line({ex - 3, kHead.y - 1}, {ex + 3, kHead.y - 7}, 2.5, kBlack);
            }
            c.line({kHead.x - 5, kHead.y + 6}, {kHead.x + 5, kHead.y + 6}, 2.5, kBlack);
            c.disc(kSun, kSunRadius, kGrey);
            c.behind(kGrey, kHead, kHeadRadius);
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
    for (int part = 0; part <= misses; ++part) {
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
