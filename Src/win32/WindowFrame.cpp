#include "WindowFrame.h"

#include <algorithm>
#include <map>
#include <string>

#include "Dpi.h"
#include "Fonts.h"

namespace vostrel::win32 {
namespace {

using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
// The system's own caption drawing, which the SDK's headers leave undeclared.
using DrawCaptionTempWFn = BOOL(WINAPI*)(HWND, HDC, const RECT*, HFONT, HICON, LPCWSTR, UINT);

template <typename Function>
Function load(const wchar_t* library, const char* name) {
    HMODULE module = ::GetModuleHandleW(library);
    module = module != nullptr ? module : ::LoadLibraryW(library);
    // Through the one function type that matches every other, so no cast warns.
    return module == nullptr ? nullptr
                             : reinterpret_cast<Function>(
                                   reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// Under desktop composition the system draws the title bar, and no window paints on it.
bool composited() {
    // Loaded only once a title needs it.
    static const auto isEnabled =
        load<DwmIsCompositionEnabledFn>(L"dwmapi.dll", "DwmIsCompositionEnabled");
    BOOL enabled = FALSE;
    return isEnabled != nullptr && SUCCEEDED(isEnabled(&enabled)) && enabled;
}

std::wstring titleOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The system's caption font at a density, made once for each.
HFONT systemCaptionFont(int dpi) {
    static std::map<int, HFONT> made;
    HFONT& font = made[dpi];
    if (font == nullptr) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfCaptionFont.lfHeight = ::MulDiv(metrics.lfCaptionFont.lfHeight, dpi, systemDpi());
        font = ::CreateFontIndirectW(&metrics.lfCaptionFont);
    }
    return font;
}

// The font the title is drawn in by this window rather than by the system, or null.
HFONT titleFont(HWND window) {
    HFONT system = systemCaptionFont(windowDpi(window));
    HFONT font = coveringFont(system, titleOf(window));
    return font != system && !composited() ? font : nullptr;
}

// Over the caption as the system drew it, up to its buttons.
void drawTitle(HWND window, HFONT font, bool active) {
    RECT frame;
    ::GetWindowRect(window, &frame);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    const int border = origin.x - frame.left;
    const int dpi = windowDpi(window);
    const auto style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE));
    int buttons = (style & WS_SYSMENU) != 0 ? 1 : 0;
    buttons += (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0 ? 2 : 0;
    RECT title{border, border,
               frame.right - frame.left - border - buttons * systemMetric(SM_CXSIZE, dpi),
               border + systemMetric(SM_CYCAPTION, dpi) - 1};
    UINT flags = DC_TEXT | (active ? DC_ACTIVE : 0);
    // A dialog frame shows no icon.
    flags |= (style & WS_SYSMENU) != 0 && (exStyle & WS_EX_DLGMODALFRAME) == 0 ? DC_ICON : 0;
    BOOL gradient = FALSE;
    ::SystemParametersInfoW(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
    flags |= gradient ? DC_GRADIENT : 0;
    const std::wstring text = titleOf(window);
    HDC dc = ::GetWindowDC(window);
    static const auto drawCaption = load<DrawCaptionTempWFn>(L"user32.dll", "DrawCaptionTempW");
    if (drawCaption != nullptr) {
        drawCaption(window, dc, &title, font, nullptr, text.c_str(), flags);
    }
    ::ReleaseDC(window, dc);
}

}  // namespace

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

LRESULT coverTitle(HWND window, UINT message, WPARAM wParam, LRESULT result) {
    switch (message) {
        case WM_NCPAINT:
        case WM_NCACTIVATE:
        case WM_SETTEXT:  // the system draws the new title straight away
            if (HFONT font = titleFont(window)) {
                drawTitle(window, font,
                          message == WM_NCACTIVATE ? wParam != 0 : ::GetActiveWindow() == window);
            }
            break;
        case WM_GETFONT:
            if (HFONT font = result == 0 ? titleFont(window) : nullptr) {
                return reinterpret_cast<LRESULT>(font);
            }
            break;
        default:
            break;
    }
    return result;
}

}  // namespace vostrel::win32
