#pragma once

#include <windows.h>

#include <string_view>

#include "forms/Definitions.h"

namespace vostrel::win32 {

// The design's font at `dpi`: its first face that is installed with the characters it needs, or
// else a face of its pitch that has them, chosen by the system. Without a design font, the
// system's message font. The caller deletes it.
[[nodiscard]] HFONT createFont(const forms::Font* design, int dpi);

// `font` where it has a glyph for every character of `text`; otherwise the same size and weight
// in the first face that has them all: the design's Japanese faces, then their stand-ins, then
// any installed face. `font` again where none has them. Fonts made here last as long as the
// program.
[[nodiscard]] HFONT coveringFont(HFONT font, std::wstring_view text);

// Has a label or button draw each caption it is given in a font that has its characters: the
// font it is given stands for the size and weight, and is used wherever it has them.
void coverCaptions(HWND control);
// The font such a control draws `text` in.
[[nodiscard]] HFONT captionFont(HWND control, std::wstring_view text);

// While one lives, a message box this thread shows draws its text in a font that has its
// characters, widened to hold it: the system's message font may have none of them.
class CoveredMessageBoxes {
public:
    CoveredMessageBoxes();
    ~CoveredMessageBoxes();
    CoveredMessageBoxes(const CoveredMessageBoxes&) = delete;
    CoveredMessageBoxes& operator=(const CoveredMessageBoxes&) = delete;

private:
    HHOOK hook_;
};

}  // namespace vostrel::win32
