#include <windows.h>

#include "WinText.h"
#include "services/AnsiText.h"

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

const AnsiText& systemAnsiText() {
    static const WindowsAnsiText text;
    return text;
}

}  // namespace vostrel
