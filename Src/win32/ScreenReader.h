#pragma once

#include <windows.h>

#include <oleacc.h>
#include <wrl/client.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vostrel::win32 {

// What the windows tell assistive technology beyond what the standard controls say themselves:
// spoken names that differ from a control's caption, given through the system's accessibility
// property service where it offers one, and events for changes the screen does not show.
// The names are given to the system only once assistive technology is there to ask for them.
class ScreenReader {
public:
    ScreenReader();
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    // The words said for `control`, in place of its caption.
    void setName(HWND control, std::string_view utf8);
    // Says what a control tells, unasked, as an alert.
    static void alert(HWND control);
    // Makes `label` a region whose changes are read out at once, interrupting.
    void makeLiveRegion(HWND label);
    // Has `label`, a live region, say `utf8`.
    static void say(HWND label, std::string_view utf8);
    // Drops what was said of a window about to go.
    void forget(HWND control);

    // Assistive technology has asked a window for its accessible object, or the system says a
    // screen reader runs: from now on the names are given to the system.
    void listen();

private:
    void annotate(HWND control);
    void makeLive(HWND region);

    std::map<HWND, std::wstring> names_;
    std::vector<HWND> liveRegions_;
    bool listening_ = false;
    Microsoft::WRL::ComPtr<IAccPropServices> service_;
};

}  // namespace vostrel::win32
