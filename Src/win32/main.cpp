#include <windows.h>

#include <commctrl.h>

#include "MainFace.h"
#include "ScreenReader.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    const vostrel::Services system = vostrel::systemServices();
    vostrel::win32::ScreenReader reader;
    vostrel::win32::MainFace window(system, vostrel::programFolder(), reader);
    if (window.load()) {  // otherwise the new game failed and has said why
        window.run(show);
    }
    return 0;
}
