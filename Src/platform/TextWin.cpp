#include <windows.h>

#include "Text.h"
#include "WinText.h"

namespace vostrel {
namespace {

class WindowsAnsiText final : public AnsiText {
public:
    std::string toUtf8(std::string_view ansi) const override { return narrow(widen(ansi, CP_ACP)); }

    std::string expandEnvironment(const std::string& utf8) const override {
        const std::wstring source = widen(utf8);
        std::wstring expanded(source.size() + 1, L'\0');
        // The environment may grow between asking for the size and expanding; ask again then.
        for (;;) {
            const DWORD size = ::ExpandEnvironmentStringsW(source.c_str(), expanded.data(),
                                                           static_cast<DWORD>(expanded.size()));
            if (size == 0) {
                return utf8;
            }
            if (size <= expanded.size()) {
                expanded.resize(size - 1);  // the count includes the terminator
                return narrow(expanded);
            }
            expanded.resize(size);
        }
    }
};

}  // namespace

std::u32string decodeNativeText(std::string_view bytes) {
    const std::wstring wide = widen(bytes, CP_ACP);
    std::u32string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char32_t unit = wide[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((unit - 0xD800) << 10) + (wide[i + 1] - 0xDC00));
            ++i;
        } else {
            out.push_back(unit);
        }
    }
    return out;
}

const AnsiText& systemAnsiText() {
    static const WindowsAnsiText text;
    return text;
}

}  // namespace vostrel
