#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "Definitions.h"

// Turning the design's twips and captions into pixels. The faces only measure text; where a
// caption goes is decided here, the same on every system.
namespace vostrel::forms {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct TextSize {
    int width = 0;
    int height = 0;
};

// The pixel density the design is drawn for: 15 twips to the pixel.
inline constexpr int kDesignDpi = 96;

// Twips to pixels at `dpi` dots per inch; halves round up, as the window system's did.
constexpr int pixels(int twips, int dpi) {
    return (twips * dpi * 2 + 1440) / 2880;
}

// Design pixels (a picture's, the icon's) at `dpi`, so they keep their size relative to the rest
// of the window at any pixel density.
constexpr int scaled(int designPixels, int dpi) {
    return (designPixels * dpi * 2 + kDesignDpi) / (2 * kDesignDpi);
}

constexpr Rect pixelRect(const TwipsRect& rect, int dpi) {
    return {pixels(rect.left, dpi), pixels(rect.top, dpi), pixels(rect.width, dpi),
            pixels(rect.height, dpi)};
}

// The size a UTF-8 text takes in a control's font: its advance and the font's line height.
using MeasureText = std::function<TextSize(std::string_view)>;

struct PlacedCaption {
    std::string text;  // what the control shows: the caption, or its two ends around "…"
    Rect bounds;
};

// How the game window is shown in `width` × `height` pixels of room (at 96 dpi): the design's
// arrangement at the design's density where it fits, or, where it must `fill` a small screen,
// scaled as a whole to fill it, never smaller; on a screen held upright that is narrower than the
// design, the upright arrangement, scaled to its width.
struct Arrangement {
    const Form* form;
    int dpi;
};
Arrangement arrange(int width, int height, bool fill);

// Where an auto-sized label of `form` goes with a new caption. It fits the caption and its frame
// (`frame` pixels on each side) and keeps its designed centre or left edge; a label that keeps
// its centre moves in to stay within the window and clear of the buttons and pictures beside it,
// and a caption too wide for that room shows its two ends.
PlacedCaption placeCaption(const Form& form, const Control& label, std::u32string_view caption,
                           int dpi, int frame, const MeasureText& measure);

}  // namespace vostrel::forms
