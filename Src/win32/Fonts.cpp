#include "Fonts.h"

#include <array>
#include <map>
#include <span>
#include <string>

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
    for (const char* name : design.pitch == forms::Pitch::Fixed
                                ? std::span<const char* const>(kFixedFallbacks)
                                : kProportionalFallbacks) {
        tryFace(name);
    }
    ::ReleaseDC(nullptr, dc);
    return face;
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

}  // namespace vostrel::win32
