// The gallows pictures: every miss must show on the picture, and no stage may pass for another.
#include <cstdio>
#include <set>

#include "GallowsArt.h"

namespace {

int failures = 0;

void check(bool ok, int stage, const char* what) {
    if (!ok) {
        ++failures;
        std::printf("FAIL: stage %d: %s\n", stage, what);
    }
}

}  // namespace

int main() {
    constexpr std::size_t kPixels = std::size_t{gallows::kSide} * gallows::kSide;
    std::set<std::vector<std::uint8_t>> seen;
    std::vector<std::uint8_t> previous;
    for (int stage = 0; stage <= gallows::kLastStage; ++stage) {
        const std::vector<std::uint8_t> pixels = gallows::drawStage(stage);
        check(pixels.size() == kPixels, stage, "not a full picture");
        if (stage > 0 && pixels.size() == previous.size()) {
            std::size_t changed = 0;
            for (std::size_t i = 0; i < pixels.size(); ++i) {
                changed += pixels[i] != previous[i] ? 1 : 0;
            }
            check(changed * 100 >= kPixels, stage, "differs from the stage before in under 1 %");
        }
        check(seen.insert(pixels).second, stage, "the same as an earlier stage");
        previous = pixels;
    }

    // The program decodes the pictures itself: a 16-colour BMP, 200 pixels a side, bottom-up.
    const std::vector<std::uint8_t> bmp = gallows::encodeBmp(gallows::drawStage(0));
    const auto word = [&](std::size_t at) { return bmp.at(at) | (bmp.at(at + 1) << 8); };
    check(bmp.size() == 14 + 40 + 16 * 4 + 100 * 200 && word(0) == 0x4D42 && word(18) == 200 &&
              word(22) == 200 && word(28) == 4,
          0, "not a 4-bit BMP of 200 x 200 pixels");
    return failures == 0 ? 0 : 1;
}
