#include "Fonts.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "Dpi.h"
#include "platform/WinText.h"

namespace vostrel::win32 {
namespace {

// Faces tried after the design's own, before leaving the choice to the system: Japanese faces of
// each pitch that recent systems install.
constexpr std::array<const char*, 2> kFixedFallbacks{"BIZ UDGothic", "Noto Sans Mono CJK JP"};
constexpr std::array<const char*, 3> kProportionalFallbacks{"Yu Gothic UI", "Meiryo UI",
                                                            "BIZ UDPGothic"};

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool installed(HDC dc, const std::wstring& face, BYTE charset) {
    if (face.empty() || face.size() >= LF_FACESIZE) {
        return false;
    }
    LOGFONTW query{};
    query.lfCharSet = charset;
    face.copy(query.lfFaceName, face.size());
    bool found = false;
    ::EnumFontFamiliesExW(dc, &query, noteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

BYTE charset(const forms::Font& design) {
    return design.shiftJis ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
}

// Asked once per design font: listing the installed faces is slow where many are.
const std::wstring& face(const forms::Font& design) {
    static std::map<const forms::Font*, std::wstring> chosen;
    const auto known = chosen.find(&design);
    if (known != chosen.end()) {
        return known->second;
    }
    std::wstring& face = chosen[&design];
    HDC dc = ::GetDC(nullptr);
    auto tryFace = [&](const char* name) {
        if (face.empty() && name != nullptr && installed(dc, widen(name), charset(design))) {
            face = widen(name);
        }
    };
    for (const char* name : design.faces) {
        tryFace(name);
    }
    if (design.pitch == forms::Pitch::Fixed) {
        for (const char* name : kFixedFallbacks) {
            tryFace(name);
        }
    } else {
        for (const char* name : kProportionalFallbacks) {
            tryFace(name);
        }
    }
    ::ReleaseDC(nullptr, dc);
    return face;
}

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// What a text shows: control characters draw nothing, and a surrogate half has no glyph to look
// up on its own.
std::wstring drawn(std::wstring_view text) {
    std::wstring shown;
    for (const wchar_t c : text) {
        if (c >= L' ' && (c < 0xD800 || c > 0xDFFF)) {
            shown += c;
        }
    }
    return shown;
}

// Whether a font has a glyph for every character of `text`. Each face is asked about each
// character once: captions change with every guess.
bool covers(HDC dc, HFONT font, const std::wstring& text) {
    LOGFONTW design{};
    ::GetObjectW(font, sizeof design, &design);
    static std::map<std::tuple<std::wstring, BYTE, BYTE, bool, BYTE>, std::wstring> known;
    std::wstring& covered = known[{design.lfFaceName, design.lfCharSet, design.lfPitchAndFamily,
                                   design.lfWeight >= FW_SEMIBOLD, design.lfItalic}];
    std::wstring unknown;
    std::copy_if(text.begin(), text.end(), std::back_inserter(unknown),
                 [&](wchar_t c) { return covered.find(c) == std::wstring::npos; });
    if (unknown.empty()) {
        return true;
    }
    HGDIOBJ old = ::SelectObject(dc, font);
    std::vector<WORD> glyphs(unknown.size());
    const DWORD got = ::GetGlyphIndicesW(dc, unknown.c_str(), static_cast<int>(unknown.size()),
                                         glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    ::SelectObject(dc, old);
    // A font that cannot tell is taken at its word.
    bool all = true;
    for (std::size_t i = 0; i < unknown.size(); ++i) {
        if (got == GDI_ERROR || glyphs[i] != 0xFFFF) {
            covered += unknown[i];
        } else {
            all = false;
        }
    }
    return all;
}

int CALLBACK noteFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
    auto& list = *reinterpret_cast<std::vector<std::wstring>*>(faces);
    const std::wstring face = font->lfFaceName;
    // Faces named with "@" are the same faces turned for vertical text.
    if (!face.starts_with(L"@") && std::find(list.begin(), list.end(), face) == list.end()) {
        list.push_back(face);
    }
    return 1;
}

// Where characters are missing, the installed faces to look in, those of the font's own pitch
// first: the design's Japanese faces, their stand-ins, then every other face. Listed once.
const std::vector<std::wstring>& candidates(bool fixed) {
    static const std::array<std::vector<std::wstring>, 2> lists = [] {
        std::vector<std::wstring> installed;
        LOGFONTW any{};
        any.lfCharSet = DEFAULT_CHARSET;
        HDC dc = ::GetDC(nullptr);
        ::EnumFontFamiliesExW(dc, &any, noteFace, reinterpret_cast<LPARAM>(&installed), 0);
        ::ReleaseDC(nullptr, dc);
        std::array<std::vector<std::wstring>, 2> both;  // proportional, fixed
        for (const bool ownFixed : {false, true}) {
            std::vector<std::wstring>& list = both[ownFixed ? 1 : 0];
            auto add = [&](const std::wstring& face) {
                if (std::find(installed.begin(), installed.end(), face) != installed.end() &&
                    std::find(list.begin(), list.end(), face) == list.end()) {
                    list.push_back(face);
                }
            };
            for (const bool pitchFixed : {ownFixed, !ownFixed}) {
                for (const forms::Form* form : {&forms::mainForm(), &forms::aboutForm()}) {
                    for (const forms::Control& control : form->controls) {
                        if (control.font != nullptr &&
                            (control.font->pitch == forms::Pitch::Fixed) == pitchFixed) {
                            for (const char* name : control.font->faces) {
                                add(name != nullptr ? widen(name) : L"");
                            }
                        }
                    }
                }
                for (const char* name : pitchFixed ? std::span<const char* const>(kFixedFallbacks)
                                                   : kProportionalFallbacks) {
                    add(widen(name));
                }
            }
            std::for_each(installed.begin(), installed.end(), add);
        }
        return both;
    }();
    return lists[fixed ? 1 : 0];
}

// Made once for each face, size and weight asked for, and kept.
HFONT madeFont(const LOGFONTW& font) {
    static std::map<std::tuple<std::wstring, LONG, LONG, LONG, BYTE>, HFONT> made;
    HFONT& handle =
        made[{font.lfFaceName, font.lfHeight, font.lfWidth, font.lfWeight, font.lfItalic}];
    if (handle == nullptr) {
        handle = ::CreateFontIndirectW(&font);
    }
    return handle;
}

// What a control whose captions are covered keeps: the font it was given, and its own window
// procedure, which it was taken from. Kept in the control's user data rather than as a window
// property or through the common controls' subclassing, both of which cost a trip to Wine's
// server with every message.
struct Covered {
    HFONT base = nullptr;
    WNDPROC procedure = nullptr;
};

LRESULT CALLBACK coveringProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* covered = reinterpret_cast<Covered*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    const WNDPROC procedure = covered->procedure;
    switch (message) {
        case WM_SETFONT:
            covered->base = reinterpret_cast<HFONT>(wParam);
            wParam = reinterpret_cast<WPARAM>(coveringFont(covered->base, textOf(window)));
            break;
        case WM_SETTEXT:
            // The font first, so the control paints the new text once, in it.
            if (lParam != 0) {
                const std::wstring_view text = reinterpret_cast<const wchar_t*>(lParam);
                ::CallWindowProcW(procedure, window, WM_SETFONT,
                                  reinterpret_cast<WPARAM>(coveringFont(covered->base, text)),
                                  FALSE);
            }
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            delete covered;
            break;
        default:
            break;
    }
    return ::CallWindowProcW(procedure, window, message, wParam, lParam);
}

// The message box's text control, given a font that has the text's characters, and the box
// widened or heightened, its buttons kept centred below, where the text needs more room in it.
void coverMessageText(HWND box) {
    HWND label = ::GetDlgItem(box, 0xFFFF);  // the message, in every message box
    const auto base = reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0));
    const std::wstring text = textOf(label);
    HFONT font = coveringFont(base, text);
    if (label == nullptr || font == base) {
        return;
    }
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    HDC dc = ::GetDC(label);
    HGDIOBJ old = ::SelectObject(dc, font);
    RECT need{};
    ::DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    ::SelectObject(dc, old);
    ::ReleaseDC(label, dc);
    RECT area;
    ::GetClientRect(label, &area);
    const int wider = std::max(0L, need.right - area.right);
    const int taller = std::max(0L, need.bottom - area.bottom);
    if (wider == 0 && taller == 0) {
        return;
    }
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT place;
        ::GetWindowRect(child, &place);
        ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&place), 2);
        if (child == label) {
            ::SetWindowPos(child, nullptr, 0, 0, place.right - place.left + wider,
                           place.bottom - place.top + taller,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else if (place.top >= area.bottom) {
            ::SetWindowPos(child, nullptr, place.left + wider / 2, place.top + taller, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    RECT frame;
    ::GetWindowRect(box, &frame);
    ::SetWindowPos(box, nullptr, frame.left - wider / 2, frame.top,
                   frame.right - frame.left + wider, frame.bottom - frame.top + taller,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK messageBoxProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    wchar_t name[8] = {};
    // Laid out by now, and not yet shown.
    if (code == HC_ACTION && call->message == WM_INITDIALOG &&
        ::GetClassNameW(call->hwnd, name, 8) > 0 && std::wstring_view(name) == L"#32770") {
        coverMessageText(call->hwnd);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

HFONT createFont(const forms::Font* design, int dpi) {
    if (design == nullptr) {
        const LOGFONTW message = messageFont(dpi);
        return ::CreateFontIndirectW(&message);
    }
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(design->points, dpi, 72);
    font.lfWeight = design->bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = charset(*design);
    // With no face installed, the system picks one of this pitch in the character set.
    font.lfPitchAndFamily = design->pitch == forms::Pitch::Fixed
                                ? static_cast<BYTE>(FIXED_PITCH | FF_MODERN)
                                : static_cast<BYTE>(VARIABLE_PITCH | FF_SWISS);
    const std::wstring& name = face(*design);
    name.copy(font.lfFaceName, name.size());
    return ::CreateFontIndirectW(&font);
}

HFONT coveringFont(HFONT font, std::wstring_view text) {
    const std::wstring needed = drawn(text);
    LOGFONTW design{};
    if (needed.empty() || ::GetObjectW(font, sizeof design, &design) != sizeof design) {
        return font;
    }
    static HDC dc = ::CreateCompatibleDC(nullptr);
    HFONT found = covers(dc, font, needed) ? font : nullptr;
    if (found == nullptr) {
        HGDIOBJ old = ::SelectObject(dc, font);
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        ::SelectObject(dc, old);
        // The flag, despite its name, is set for proportional fonts.
        const bool fixed = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
        design.lfCharSet = DEFAULT_CHARSET;
        for (const std::wstring& face : candidates(fixed)) {
            if (face.size() < LF_FACESIZE) {
                std::fill(std::begin(design.lfFaceName), std::end(design.lfFaceName), L'\0');
                face.copy(design.lfFaceName, face.size());
                HFONT other = madeFont(design);
                if (covers(dc, other, needed)) {
                    found = other;
                    break;
                }
            }
        }
    }
    return found != nullptr ? found : font;
}

void coverCaptions(HWND control) {
    auto* covered = new Covered{reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0))};
    ::SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(covered));
    covered->procedure = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(coveringProc)));
}

HFONT captionFont(HWND control, std::wstring_view text) {
    const auto* covered =
        reinterpret_cast<const Covered*>(::GetWindowLongPtrW(control, GWLP_USERDATA));
    return coveringFont(covered != nullptr
                            ? covered->base
                            : reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)),
                        text);
}

CoveredMessageBoxes::CoveredMessageBoxes()
    : hook_(::SetWindowsHookExW(WH_CALLWNDPROCRET, messageBoxProc, nullptr,
                                ::GetCurrentThreadId())) {}

CoveredMessageBoxes::~CoveredMessageBoxes() {
    if (hook_ != nullptr) {
        ::UnhookWindowsHookEx(hook_);
    }
}

}  // namespace vostrel::win32
