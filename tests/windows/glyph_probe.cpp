// Loaded into the game by display_helper's hook, where the game's fonts can be read: checks that
// every character each of its windows shows has a glyph in the font it is drawn in, and writes
// "ok" or what is missing into the helper's shared report. A window's title is drawn in the
// font the window answers WM_GETFONT with, else in the system's caption font; a message box's
// always in the caption font.
#include <windows.h>

#include <string>

namespace {

std::string missing;

std::string utf8(const std::wstring& wide) {
    std::string bytes(wide.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                              static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

void check(HWND window, const std::wstring& text, HFONT font, const char* what) {
    HDC dc = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(dc, font);
    for (wchar_t c : text) {
        WORD glyph = 0;
        // Controls and surrogate halves have no glyph of their own to look up.
        if (c >= L' ' && (c < 0xD800 || c > 0xDFFF) &&
            (::GetGlyphIndicesW(dc, &c, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) != 1 ||
             glyph == 0xFFFF)) {
            wchar_t face[LF_FACESIZE] = {};
            ::GetTextFaceW(dc, LF_FACESIZE, face);
            missing += std::string(what) + " \"" + utf8(text) + "\" in " + utf8(face) + "; ";
            break;
        }
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
}

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

BOOL CALLBACK checkControl(HWND control, LPARAM) {
    wchar_t name[16] = {};
    ::GetClassNameW(control, name, 16);
    RECT area;
    ::GetClientRect(control, &area);
    // Only these draw their window text; one of no size draws nothing.
    if ((lstrcmpiW(name, L"Static") == 0 || lstrcmpiW(name, L"Button") == 0) &&
        ::IsWindowVisible(control) && area.right > 0 && area.bottom > 0) {
        auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
        check(control, textOf(control),
              font ? font : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT)), "control");
    }
    return TRUE;
}

BOOL CALLBACK checkWindow(HWND window, LPARAM) {
    if (!::IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    auto font = lstrcmpW(name, L"#32770") == 0
                    ? nullptr
                    : reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT caption = ::CreateFontIndirectW(&metrics.lfCaptionFont);
    check(window, textOf(window), font ? font : caption, "title");
    ::DeleteObject(caption);
    ::EnumChildWindows(window, checkControl, 0);
    return TRUE;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK probe(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT asked = ::RegisterWindowMessageW(L"VostrelGlyphProbe");
    if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == asked) {
        missing.clear();
        ::EnumThreadWindows(::GetCurrentThreadId(), checkWindow, 0);
        HANDLE report = ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, L"VostrelGlyphReport");
        if (void* view = ::MapViewOfFile(report, FILE_MAP_WRITE, 0, 0, 0)) {
            const std::string said = missing.empty() ? "ok" : missing.substr(0, 60000);
            std::copy(said.c_str(), said.c_str() + said.size() + 1, static_cast<char*>(view));
            ::UnmapViewOfFile(view);
        }
        ::CloseHandle(report);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
