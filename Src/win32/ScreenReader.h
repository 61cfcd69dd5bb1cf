#pragma once

#include <windows.h>

#include <oleacc.h>
#include <wrl/client.h>

#include <string_view>

namespace vostrel::win32 {

// What the windows tell assistive technology beyond what the standard controls say themselves:
// spoken names that differ from a control's caption, given through the system's accessibility
// property service where it offers one, and events for changes the screen does not show.
class ScreenReader {
public:
    // The calling thread has started COM.
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

private:
    Microsoft::WRL::ComPtr<IAccPropServices> service_;
};

}  // namespace vostrel::win32
