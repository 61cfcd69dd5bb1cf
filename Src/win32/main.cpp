#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "MainFace.h"
#include "ScreenReader.h"

namespace {

void play(int show) {
    const vostrel::Services system = vostrel::systemServices();
    vostrel::win32::ScreenReader reader;
    vostrel::win32::MainFace window(system, vostrel::programFolder(), reader);
    if (window.load()) {  // otherwise the new game failed and has said why
        window.run(show);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The accessibility service the screen reader is told through lives in the user-interface
    // thread's COM apartment, which outlasts the windows.
    const bool com =
        SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    play(show);
    if (com) {
        ::CoUninitialize();
    }
    return 0;
}
