#include "Dpi.h"

namespace vostrel::win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

template <typename Function>
Function user32(const char* name) {
    static const HMODULE module = ::GetModuleHandleW(L"user32.dll");
    // Through the one function type that matches every other, so no cast warns.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

struct Functions {
    GetDpiForWindowFn dpiForWindow = user32<GetDpiForWindowFn>("GetDpiForWindow");
    GetDpiForSystemFn dpiForSystem = user32<GetDpiForSystemFn>("GetDpiForSystem");
    AdjustWindowRectExForDpiFn adjust =
        user32<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    GetSystemMetricsForDpiFn metrics = user32<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    SystemParametersInfoForDpiFn parameters =
        user32<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
};

const Functions& functions() {
    static const Functions loaded;
    return loaded;
}

int deviceDpi(HWND window) {
    HDC dc = ::GetDC(window);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(window, dc);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

int systemDpi() {
    if (functions().dpiForSystem != nullptr) {
        return static_cast<int>(functions().dpiForSystem());
    }
    return deviceDpi(nullptr);
}

int windowDpi(HWND window) {
    if (functions().dpiForWindow != nullptr) {
        const UINT dpi = functions().dpiForWindow(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    return deviceDpi(window);
}

SIZE windowSize(int width, int height, DWORD style, DWORD exStyle, bool menu, int dpi) {
    RECT rect{0, 0, width, height};
    if (functions().adjust != nullptr) {
        functions().adjust(&rect, style, menu ? TRUE : FALSE, exStyle, static_cast<UINT>(dpi));
    } else {
        ::AdjustWindowRectEx(&rect, style, menu ? TRUE : FALSE, exStyle);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int systemMetric(int index, int dpi) {
    if (functions().metrics != nullptr) {
        return functions().metrics(index, static_cast<UINT>(dpi));
    }
    return ::MulDiv(::GetSystemMetrics(index), dpi, systemDpi());
}

LOGFONTW messageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (functions().parameters != nullptr &&
        functions().parameters(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                               static_cast<UINT>(dpi))) {
        return metrics.lfMessageFont;
    }
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi());
    return metrics.lfMessageFont;
}

}  // namespace vostrel::win32
