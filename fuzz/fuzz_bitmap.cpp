// Any bytes at all as a picture file, which a player can replace: the web face's decoder must
// neither fail nor break what it promises about the picture it gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "web/Bitmap.h"

namespace {

// The game's limit on a picture's side.
constexpr int kMaxSide = 2048;
// A small limit, for the decoder's check of it.
constexpr int kSmallSide = 8;

void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// A picture of 1 to maxSide pixels a side with four bytes each, or none at all.
void checkShape(const vostrel::Bitmap& picture, int maxSide) {
    if (picture.rgba.empty()) {
        require(picture.width == 0 && picture.height == 0);
        return;
    }
    require(picture.width >= 1 && picture.width <= maxSide);
    require(picture.height >= 1 && picture.height <= maxSide);
    require(picture.rgba.size() ==
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vostrel::Bitmap picture = vostrel::decodeBmp(bytes, kMaxSide);
    checkShape(picture, kMaxSide);

    // The limit turns away larger pictures and changes nothing else.
    const vostrel::Bitmap limited = vostrel::decodeBmp(bytes, kSmallSide);
    checkShape(limited, kSmallSide);
    if (picture.width <= kSmallSide && picture.height <= kSmallSide) {
        require(limited.width == picture.width && limited.height == picture.height &&
                limited.rgba == picture.rgba);
    } else {
        require(limited.rgba.empty());
    }
    return 0;
}
