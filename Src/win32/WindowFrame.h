#pragma once

#include <windows.h>

// What a window's frame shows that the system does not get right by itself.
namespace vostrel::win32 {

// Keeps a window from being sized smaller than a client area of `width` by `height` pixels;
// for WM_GETMINMAXINFO.
void keepClientArea(HWND window, int width, int height, MINMAXINFO& limits);

// Where the system draws the frame itself in a caption font that lacks characters of the title,
// draws the title again over it in a font that has them, once the default procedure has drawn
// the frame (its answer to `message` is `result`). WM_GETFONT then answers that font. Returns
// the answer to `message`.
LRESULT coverTitle(HWND window, UINT message, WPARAM wParam, LRESULT result);

}  // namespace vostrel::win32
