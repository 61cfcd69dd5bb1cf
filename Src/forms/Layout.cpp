#include "Layout.h"

#include <algorithm>
#include <utility>

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

// What a label may take of its row, in pixels: the window's width, less what the buttons and
// picture areas on either side of it take, and a gap. A label over a button would hide it, and
// one over the picture would hide the gallows.
std::pair<int, int> room(const Form& form, const Control& label, int dpi) {
    constexpr int kGap = 120;  // twips
    const TwipsRect& own = label.rect;
    int left = 0;
    int right = form.clientWidth;
    for (const Control& other : form.controls) {
        const TwipsRect& rect = other.rect;
        if (other.kind == Kind::Label || rect.top >= own.top + own.height ||
            own.top >= rect.top + rect.height) {
            continue;
        }
        if (rect.left + rect.width <= own.left) {
            left = std::max(left, rect.left + rect.width + kGap);
        } else if (rect.left >= own.left + own.width) {
            right = std::min(right, rect.left - kGap);
        }
    }
    return {pixels(left, dpi), pixels(right, dpi)};
}

}  // namespace

Arrangement arrange(int width, int height, bool fill) {
    const Form& design = mainForm();
    const int designWidth = pixels(design.clientWidth, kDesignDpi);
    const int designHeight = pixels(design.clientHeight, kDesignDpi);
    if (height > width && width < designWidth) {
        const Form& upright = uprightMainForm();
        return {&upright, kDesignDpi * width / pixels(upright.clientWidth, kDesignDpi)};
    }
    if (!fill) {
        return {&design, kDesignDpi};
    }
    // Never smaller than designed: the letters stay 24 pixels apart.
    const int dpi = std::min(kDesignDpi * width / designWidth, kDesignDpi * height / designHeight);
    return {&design, std::max(kDesignDpi, dpi)};
}

PlacedCaption placeCaption(const Form& form, const Control& label, std::u32string_view caption,
                           int dpi, int frame, const MeasureText& measure) {
    const Rect designed = pixelRect(label.rect, dpi);
    const auto [left, right] = room(form, label, dpi);
    PlacedCaption placed;
    placed.text = fitted(caption, right - left - 2 * frame, measure);
    const TextSize size = measure(placed.text);
    placed.bounds = {designed.left, designed.top, size.width + 2 * frame, size.height + 2 * frame};
    if (label.sizing == Sizing::AroundCentre) {
        // Kept doubled, so odd widths never make the label drift from game to game.
        const int centre2 = 2 * designed.left + designed.width;
        placed.bounds.left = std::clamp((centre2 - placed.bounds.width) / 2, left,
                                        std::max(left, right - placed.bounds.width));
    }
    return placed;
}

}  // namespace vostrel::forms
