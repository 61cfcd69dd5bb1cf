#include "Layout.h"

#include <algorithm>

#include "core/WordFile.h"

namespace vostrel::forms {
namespace {

std::string ends(std::u32string_view text, std::size_t each) {
    return encodeUtf8(text.substr(0, each)) + "…" + encodeUtf8(text.substr(text.size() - each));
}

// The caption whole if it fits `room`, else as many characters from each end as fit around an
// ellipsis.
std::string fitted(std::u32string_view caption, int room, const MeasureText& measure) {
    std::string whole = encodeUtf8(caption);
    if (measure(whole).width <= room) {
        return whole;
    }
    std::size_t fits = 0;
    std::size_t tooMany = (caption.size() + 1) / 2;
    while (tooMany - fits > 1) {
        const std::size_t each = (fits + tooMany) / 2;
        (measure(ends(caption, each)).width <= room ? fits : tooMany) = each;
    }
    return ends(caption, fits);
}

}  // namespace

PlacedCaption placeCaption(const Control& label, std::u32string_view caption, int dpi, int frame,
                           int clientWidth, const MeasureText& measure) {
    const Rect designed = pixelRect(label.rect, dpi);
    PlacedCaption placed;
    placed.text = fitted(caption, clientWidth - 2 * frame, measure);
    const TextSize size = measure(placed.text);
    placed.bounds = {designed.left, designed.top, size.width + 2 * frame, size.height + 2 * frame};
    if (label.sizing == Sizing::AroundCentre) {
        // Kept doubled, so odd widths never make the label drift from game to game.
        const int centre2 = 2 * designed.left + designed.width;
        placed.bounds.left = std::clamp((centre2 - placed.bounds.width) / 2, 0,
                                        std::max(0, clientWidth - placed.bounds.width));
    }
    return placed;
}

}  // namespace vostrel::forms
