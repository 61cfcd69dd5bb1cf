#include "WindowFrame.h"

#include <algorithm>

namespace vostrel::win32 {

void keepClientArea(HWND window, int width, int height, MINMAXINFO& limits) {
    RECT frame;
    RECT client;
    // A minimised window's frame says nothing of its client area.
    if (::IsIconic(window) || !::GetWindowRect(window, &frame) ||
        !::GetClientRect(window, &client)) {
        return;
    }
    limits.ptMinTrackSize.x =
        std::max<LONG>(limits.ptMinTrackSize.x, frame.right - frame.left - client.right + width);
    limits.ptMinTrackSize.y =
        std::max<LONG>(limits.ptMinTrackSize.y, frame.bottom - frame.top - client.bottom + height);
}

}  // namespace vostrel::win32
