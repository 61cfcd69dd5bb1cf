// The yardstick for the game's start on Windows: a bare window holding the same controls (menu
// bar, labels in the fonts they are designed with, picture area, buttons, in their places), and
// nothing behind them: no word list, no pictures, no faces looked for, no COM, no screen-reader
// annotations.
#include <windows.h>

#include <string>
#include <vector>

#include "forms/Definitions.h"
#include "forms/Layout.h"
#include "platform/WinText.h"

namespace {

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
    namespace forms = vostrel::forms;
    const forms::Form& design = forms::mainForm();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"bare";
    ::RegisterClassExW(&windowClass);

    HMENU bar = ::CreateMenu();
    std::vector<HMENU> popups;
    for (const forms::MenuItem& item : design.menu) {
        if (item.parent < 0) {
            popups.push_back(::CreatePopupMenu());
            ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popups.back()),
                          vostrel::widen(item.caption).c_str());
        } else {
            ::AppendMenuW(popups.back(), MF_STRING, 1, vostrel::widen(item.caption).c_str());
        }
    }
    RECT frame{0, 0, forms::pixels(design.clientWidth, 96), forms::pixels(design.clientHeight, 96)};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0);
    HWND window = ::CreateWindowExW(0, L"bare", L"Vostrel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, frame.right - frame.left,
                                    frame.bottom - frame.top, nullptr, bar, instance, nullptr);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);
    std::vector<HFONT> fonts;
    for (const forms::Control& control : design.controls) {
        HFONT own = font;
        if (control.font != nullptr) {
            // As named in the design, however the system stands in for a face it lacks.
            own = ::CreateFontW(-control.font->points * 96 / 72, 0, 0, 0,
                                control.font->bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                SHIFTJIS_CHARSET, 0, 0, 0, 0,
                                vostrel::widen(control.font->faces[0]).c_str());
            fonts.push_back(own);
        }
        const forms::Rect place = forms::pixelRect(control.rect, 96);
        const bool button = control.kind == forms::Kind::Button;
        HWND made = ::CreateWindowExW(
            0, button ? L"BUTTON" : L"STATIC", vostrel::widen(control.caption).c_str(),
            WS_CHILD | WS_VISIBLE | (button ? WS_TABSTOP : SS_NOPREFIX), place.left, place.top,
            place.width, place.height, window, nullptr, instance, nullptr);
        ::SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(own), FALSE);
    }
    ::ShowWindow(window, show);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    for (HFONT own : fonts) {
        ::DeleteObject(own);
    }
    ::DeleteObject(font);
    return 0;
}
