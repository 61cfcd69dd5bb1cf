#pragma once

#include <windows.h>

// Pixel densities as the system reports them to a per-monitor aware program. The functions that
// take a density exist only on recent systems; where they are missing, the system's one density
// serves.
namespace vostrel::win32 {

[[nodiscard]] int systemDpi();
[[nodiscard]] int windowDpi(HWND window);

// The outer size of a window whose client area is `width` × `height` pixels.
[[nodiscard]] SIZE windowSize(int width, int height, DWORD style, DWORD exStyle, bool menu,
                              int dpi);

[[nodiscard]] int systemMetric(int index, int dpi);

// The font the system uses for message boxes, at `dpi`.
[[nodiscard]] LOGFONTW messageFont(int dpi);

}  // namespace vostrel::win32
