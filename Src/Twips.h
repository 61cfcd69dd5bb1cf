#pragma once

#include <QRect>

namespace vostrel {

// The windows are designed in twips; 15 of them make one device-independent pixel, which Qt
// scales to screens of other densities. Halves round up, as the window system did.
constexpr int px(int twips) {
    return (twips * 2 + 15) / 30;
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

}  // namespace vostrel
