#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vostrel {

// A picture as the page draws it: RGBA, row by row from the top.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// Decodes a Windows bitmap file synchronously, as the game shows a picture the moment it has read
// it, where a browser decodes images only later: 1, 4 and 8 bits with a palette, 16 and 32 bits
// plain or with bit fields, and 24 bits, bottom-up or top-down. Anything else, a broken file and
// one whose header claims more than `maxSide` pixels on a side give an empty bitmap.
Bitmap decodeBmp(std::string_view bytes, int maxSide);

}  // namespace vostrel
