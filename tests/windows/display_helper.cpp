// Lives in the display test's Wine prefix for the whole run and answers its questions about the
// game, which it starts: one command a line on stdin, one UTF-8 line on stdout.
//   start <vostrel.exe>    the game, in the folder that holds it; "ok" once its window shows
//   focus                  the control that has the keyboard focus, or "none"
//   text <control>         its text; "message" is the text of the game's message box
//   rect <control>         its place on the screen, WxH+X+Y; "frmMain" is the game's window
//   client                 the game window's client area, W H
//   front                  the game's window to the front
//   settle | redraw        what waits to be painted in the game's windows painted now | the
//                          windows repainted whole
//   close                  a message box and About closed
//   dpi <n>                the game told the pixel density changed, as Windows tells it
//   layout <dpi>           "ok", or what is not where the window definitions put it
//   glyphs                 "ok", or texts shown in a font without glyphs for them
//   end                    the game's exit code, once it has ended
// Controls are named as the definitions name them: "cmdOK", "CMD_ALPHA(3)".
// Usage: display_helper <glyph probe DLL>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>

#include "CommandIds.h"
#include "forms/Definitions.h"
#include "forms/Layout.h"
#include "platform/WinText.h"

namespace {

namespace forms = vostrel::forms;
using std::to_string;

PROCESS_INFORMATION game{};
std::wstring probeDll;
int currentDpi = forms::kDesignDpi;

std::wstring windowsPath(const std::string& path) {
    std::wstring wide = vostrel::widen(path);
    wide = wide.starts_with(L"/") ? L"Z:" + wide : wide;  // Wine's drive for the host's root
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

bool waitFor(const std::function<bool()>& done) {
    for (int waited = 0; waited < 30000 && !done(); waited += 20) {
        ::Sleep(20);
    }
    return done();
}

// The game's visible top-level window of a class, or null.
HWND gameWindow(const wchar_t* windowClass) {
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, windowClass, nullptr));) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == game.dwProcessId && ::IsWindowVisible(w)) {
            return w;
        }
    }
    return nullptr;
}

const forms::Form* formOf(HWND window) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    const std::wstring_view found = name;
    return found == L"frmMain" ? &forms::mainForm()
                               : (found == L"frmAbout" ? &forms::aboutForm() : nullptr);
}

std::string nameOf(const forms::Control& control) {
    std::string name = control.name;
    return control.index < 0 ? name : name.append("(").append(to_string(control.index)) + ")";
}

HWND control(const std::string& name) {
    if (name == "frmMain" || name == "message") {
        return name == "frmMain" ? gameWindow(L"frmMain")
                                 : ::GetDlgItem(gameWindow(L"#32770"), 0xFFFF);
    }
    for (HWND window : {gameWindow(L"frmMain"), gameWindow(L"frmAbout")}) {
        for (std::size_t i = 0; window != nullptr && i < formOf(window)->controls.size(); ++i) {
            if (nameOf(formOf(window)->controls[i]) == name) {
                return ::GetDlgItem(window, vostrel::win32::controlId(i));
            }
        }
    }
    return nullptr;
}

std::string focus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(game.dwThreadId, &info);
    const forms::Form* form = formOf(::GetParent(info.hwndFocus));
    const auto at =
        static_cast<std::size_t>(::GetDlgCtrlID(info.hwndFocus) - vostrel::win32::kFirstControlId);
    return form != nullptr && at < form->controls.size() ? nameOf(form->controls[at])
           : info.hwndFocus != nullptr                   ? "elsewhere"
                                                         : "none";
}

std::string text(HWND window) {
    std::wstring buffer(4096, L'\0');
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]),
                          SMTO_ABORTIFHUNG, 30000, &length);
    return vostrel::narrow(buffer.substr(0, length));
}

// Every control where its definition puts it at `dpi`: labels sized to their captions keep their
// designed centre, moved in to stay inside the window, or their left edge; picture areas their
// top left. About lies at its place on the screen.
std::string misplaced(HWND window, int dpi) {
    const forms::Form& form = *formOf(window);
    const int width = forms::pixels(form.clientWidth, dpi);
    RECT client;
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    std::string wrong =
        client.right == width && client.bottom == forms::pixels(form.clientHeight, dpi)
            ? ""
            : "the client area " + to_string(client.right) + "x" + to_string(client.bottom) + " ";
    if (!form.placedBySystem &&
        (origin.x != forms::pixels(form.left, dpi) || origin.y != forms::pixels(form.top, dpi))) {
        wrong += std::string(form.name) + "'s place ";
    }
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        const forms::Control& design = form.controls[i];
        const forms::Rect want = forms::pixelRect(design.rect, dpi);
        RECT got;
        ::GetWindowRect(::GetDlgItem(window, vostrel::win32::controlId(i)), &got);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&got), 2);
        const int size = got.right - got.left;
        const int left =
            design.sizing != forms::Sizing::AroundCentre
                ? want.left
                : std::clamp((2 * want.left + want.width - size) / 2, 0, std::max(0, width - size));
        const bool fixed = design.sizing != forms::Sizing::Fixed ||
                           (size == want.width && got.bottom - got.top == want.height);
        wrong += got.top == want.top && std::abs(got.left - left) <= 1 && fixed
                     ? ""
                     : nameOf(design) + " ";
    }
    return wrong;
}

// The probe runs inside the game, where its fonts are, when a hook hands it this message, and
// answers in shared memory.
std::string glyphs() {
    HMODULE probe = ::LoadLibraryW(probeDll.c_str());
    HANDLE report = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 65536,
                                         L"VostrelGlyphReport");
    auto* said = static_cast<char*>(::MapViewOfFile(report, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    HHOOK hook = ::SetWindowsHookExW(
        WH_CALLWNDPROC,
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(::GetProcAddress(probe, "probe"))),
        probe, game.dwThreadId);
    std::string answer = "no probe";
    if (hook != nullptr && said != nullptr) {
        ::SendMessageTimeoutW(gameWindow(L"frmMain"),
                              ::RegisterWindowMessageW(L"VostrelGlyphProbe"), 0, 0,
                              SMTO_ABORTIFHUNG, 30000, nullptr);
        answer = said[0] != '\0' ? said : "the probe did not answer";
    }
    ::UnhookWindowsHookEx(hook);
    ::UnmapViewOfFile(said);
    ::CloseHandle(report);
    return answer;
}

// Windows suggests a frame around the client area scaled to the new density, the frame itself
// sized for that density, and hands it over in the receiver's memory.
void changeDpi(int dpi) {
    HWND main = gameWindow(L"frmMain");
    RECT frame;
    ::GetWindowRect(main, &frame);
    RECT suggested;
    ::GetClientRect(main, &suggested);
    suggested.right = ::MulDiv(suggested.right, dpi, currentDpi);
    suggested.bottom = ::MulDiv(suggested.bottom, dpi, currentDpi);
    ::AdjustWindowRectExForDpi(&suggested, static_cast<DWORD>(::GetWindowLongW(main, GWL_STYLE)),
                               ::GetMenu(main) != nullptr,
                               static_cast<DWORD>(::GetWindowLongW(main, GWL_EXSTYLE)),
                               static_cast<UINT>(dpi));
    ::OffsetRect(&suggested, frame.left - suggested.left, frame.top - suggested.top);
    void* there = ::VirtualAllocEx(game.hProcess, nullptr, sizeof suggested,
                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ::WriteProcessMemory(game.hProcess, there, &suggested, sizeof suggested, nullptr);
    ::SendMessageTimeoutW(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                          reinterpret_cast<LPARAM>(there), SMTO_ABORTIFHUNG, 30000, nullptr);
    ::VirtualFreeEx(game.hProcess, there, 0, MEM_RELEASE);
    currentDpi = dpi;
}

std::string answer(const std::string& command, const std::string& name) {
    const std::array<HWND, 3> windows{gameWindow(L"#32770"), gameWindow(L"frmAbout"),
                                      gameWindow(L"frmMain")};
    if (command == "start") {
        std::wstring program = windowsPath(name);
        std::wstring commandLine = L"\"" + program + L"\"";
        const std::wstring folder = program.substr(0, program.rfind(L'\\'));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        return ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                nullptr, folder.c_str(), &startup, &game) &&
                       waitFor([] { return gameWindow(L"frmMain") != nullptr; })
                   ? "ok"
                   : "no window";
    }
    if (command == "focus" || command == "text") {
        return command == "focus" ? focus() : text(control(name));
    }
    if (command == "rect" || command == "client") {
        RECT area{};
        command == "rect" ? ::GetWindowRect(control(name), &area)
                          : ::GetClientRect(windows[2], &area);
        return command == "client"
                   ? to_string(area.right) + " " + to_string(area.bottom)
                   : to_string(area.right - area.left) + "x" + to_string(area.bottom - area.top) +
                         "+" + to_string(area.left) + "+" + to_string(area.top);
    }
    if (command == "front") {
        HWND top = *std::find_if(windows.begin(), windows.end() - 1, [](HWND w) { return w; });
        ::SetForegroundWindow(top);
        return waitFor([&] { return ::GetForegroundWindow() == top; }) ? "ok" : "not in front";
    }
    for (HWND window : windows) {
        if (window != nullptr && command == "redraw") {
            ::RedrawWindow(
                window, nullptr, nullptr,
                RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        } else if (window != nullptr && command == "settle") {
            ::RedrawWindow(window, nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
        } else if (window != nullptr && window != windows[2] && command == "close") {
            ::PostMessageW(window, WM_CLOSE, 0, 0);
            waitFor([&] { return !::IsWindow(window); });
        }
    }
    if (command == "layout") {
        const std::string wrong = misplaced(windows[2], std::stoi(name)) +
                                  (windows[1] ? misplaced(windows[1], std::stoi(name)) : "");
        return wrong.empty() ? "ok" : wrong;
    }
    if (command == "dpi") {
        changeDpi(std::stoi(name));
    }
    if (command == "glyphs") {
        return glyphs();
    }
    if (command == "end") {
        DWORD code = STILL_ACTIVE;
        ::WaitForSingleObject(game.hProcess, 30000);
        ::GetExitCodeProcess(game.hProcess, &code);
        return code == STILL_ACTIVE ? "still running" : to_string(code);
    }
    return "ok";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: display_helper <glyph probe DLL>\n");
        return 2;
    }
    probeDll = windowsPath(argv[1]);
    for (std::string line; std::getline(std::cin, line);) {
        const std::size_t blank = std::min(line.find(' '), line.size());
        const std::string said =
            answer(line.substr(0, blank), line.substr(std::min(blank + 1, line.size()))) + "\n";
        std::fwrite(said.data(), 1, said.size(), stdout);
        std::fflush(stdout);
    }
    return 0;
}
