#pragma once

#include <windows.h>

#include "forms/Definitions.h"

namespace vostrel::win32 {

// The design's font at `dpi`: its first face that is installed, or else a face of its pitch in
// its character set, chosen by the system. Without a design font, the system's message font. The
// caller deletes it.
[[nodiscard]] HFONT createFont(const forms::Font* design, int dpi);

}  // namespace vostrel::win32
