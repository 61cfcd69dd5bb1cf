#pragma once

#include <windows.h>

// What a window's frame shows that the system does not get right by itself.
namespace vostrel::win32 {

// Keeps a window from being sized smaller than a client area of `width` by `height` pixels;
// for WM_GETMINMAXINFO.
void keepClientArea(HWND window, int width, int height, MINMAXINFO& limits);

}  // namespace vostrel::win32
