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
//   boxes <screenshot.ppm> "ok", or the texts of the game's windows that show a character as a
//                          box, the shape of a missing glyph, in the screenshot
//   end                    the game's exit code, once it has ended
// Controls are named as the definitions name them: "cmdOK", "CMD_ALPHA(3)".
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <string>

#include "CommandIds.h"
#include "forms/Definitions.h"
#include "forms/Layout.h"
#include "platform/WinText.h"

namespace {

namespace forms = vostrel::forms;
using std::to_string;

PROCESS_INFORMATION game{};
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

// A screenshot as ImageMagick writes it with -depth 8: binary PPM, a byte a channel.
struct Screen {
    int width = 0;
    int height = 0;
    std::string pixels;  // RGB, top row first
    [[nodiscard]] int at(int x, int y) const {
        const auto* p = reinterpret_cast<const unsigned char*>(&pixels[3 * (y * width + x)]);
        return p[0] << 16 | p[1] << 8 | p[2];
    }
};

Screen readScreen(const std::string& path) {
    std::ifstream in(std::filesystem::path(windowsPath(path)), std::ios::binary);
    Screen screen;
    std::string magic;
    int depth = 0;
    in >> magic >> screen.width >> screen.height >> depth;
    in.get();
    screen.pixels.resize(static_cast<std::size_t>(3 * screen.width * screen.height));
    in.read(screen.pixels.data(), static_cast<std::streamsize>(screen.pixels.size()));
    return magic == "P6" && depth == 255 && in ? screen : Screen{};
}

// Whether a region of the screen shows a missing glyph's box: cut into cells at the columns with
// no ink (what differs from the region's ground), a cell whose ink is only a rectangle's outline.
// A region with no ink at all shows nothing of its text either.
std::string boxes(const Screen& screen, const RECT& area) {
    const RECT r{std::max(0L, area.left), std::max(0L, area.top),
                 std::min<LONG>(screen.width, area.right),
                 std::min<LONG>(screen.height, area.bottom)};
    std::map<int, int> counts;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            ++counts[screen.at(x, y)];
        }
    }
    if (counts.empty()) {
        return "off the screen";
    }
    const int ground = std::max_element(counts.begin(), counts.end(), [](auto a, auto b) {
                           return a.second < b.second;
                       })->first;
    const auto ink = [&](int x, int y) {
        const int c = screen.at(x, y);
        int distance = 0;
        for (int shift : {0, 8, 16}) {
            distance += std::abs((c >> shift & 255) - (ground >> shift & 255));
        }
        return distance > 96;
    };
    const auto inkedColumn = [&](int x) {
        for (int y = r.top; y < r.bottom; ++y) {
            if (ink(x, y)) {
                return true;
            }
        }
        return false;
    };
    int cells = 0;
    for (int x = r.left; x < r.right; ++x) {
        if (!inkedColumn(x)) {
            continue;
        }
        RECT cell{x, r.bottom, x, r.top};
        for (; x < r.right && inkedColumn(x); ++x) {
            cell.right = x + 1;
            for (int y = r.top; y < r.bottom; ++y) {
                if (ink(x, y)) {
                    cell.top = std::min<LONG>(cell.top, y);
                    cell.bottom = std::max<LONG>(cell.bottom, y + 1);
                }
            }
        }
        ++cells;
        const int width = cell.right - cell.left;
        const int height = cell.bottom - cell.top;
        if (width < 3 || height < 5) {
            continue;
        }
        // The outline inked nearly all round, the middle empty.
        int edge = 0;
        for (int i = cell.left; i < cell.right; ++i) {
            edge += ink(i, cell.top) + ink(i, cell.bottom - 1);
        }
        for (int i = cell.top; i < cell.bottom; ++i) {
            edge += ink(cell.left, i) + ink(cell.right - 1, i);
        }
        bool middle = false;
        for (int y = cell.top + height / 3; y < cell.bottom - height / 3; ++y) {
            for (int i = cell.left + width / 3; i < cell.right - width / 3; ++i) {
                middle = middle || ink(i, y);
            }
        }
        if (!middle && 10 * edge >= 9 * 2 * (width + height)) {
            return "a box at " + to_string(cell.left) + "," + to_string(cell.top);
        }
    }
    return cells > 0 ? "" : "nothing drawn";
}

// Every text of the game's windows that no other window covers: their titles, up to the frame's
// buttons, and the captions of their labels and buttons, inside the buttons' edges.
std::string boxes(const std::string& path) {
    const Screen screen = readScreen(path);
    if (screen.width == 0) {
        return "no screenshot in " + path;
    }
    std::string found;
    const auto look = [&](HWND window, RECT area, const char* what) {
        // Only what no other window lies over.
        for (HWND above = ::GetWindow(::GetAncestor(window, GA_ROOT), GW_HWNDPREV);
             above != nullptr; above = ::GetWindow(above, GW_HWNDPREV)) {
            RECT there;
            RECT both;
            if (::IsWindowVisible(above) && ::GetWindowRect(above, &there) &&
                ::IntersectRect(&both, &there, &area)) {
                return;
            }
        }
        const std::string wrong = boxes(screen, area);
        found +=
            wrong.empty() ? "" : std::string(what) + " \"" + text(window) + "\": " + wrong + "; ";
    };
    for (HWND top : {gameWindow(L"#32770"), gameWindow(L"frmAbout"), gameWindow(L"frmMain")}) {
        if (top == nullptr) {
            continue;
        }
        RECT frame;
        ::GetWindowRect(top, &frame);
        POINT client{0, 0};
        ::ClientToScreen(top, &client);
        const int border = client.x - frame.left;
        // A sizable window shows its icon before the title, and Minimize and Maximize after.
        const bool sizable = (::GetWindowLongW(top, GWL_STYLE) & WS_THICKFRAME) != 0;
        const int caption = ::GetSystemMetrics(SM_CYCAPTION);
        const int buttons = ::GetSystemMetrics(SM_CXSIZE) * (sizable ? 3 : 1);
        look(top,
             {frame.left + border + (sizable ? caption : 0), frame.top + border,
              frame.right - border - buttons, frame.top + border + caption - 1},
             "the title");
        for (HWND child = ::GetWindow(top, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[16] = {};
            ::GetClassNameW(child, name, 16);
            const bool button = lstrcmpiW(name, L"Button") == 0;
            RECT area;
            ::GetClientRect(child, &area);
            ::MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&area), 2);
            if ((button || lstrcmpiW(name, L"Static") == 0) && ::IsWindowVisible(child) &&
                !text(child).empty() && area.right > area.left) {
                ::InflateRect(&area, button ? -4 : 0, button ? -4 : 0);
                look(child, area, "the caption");
            }
        }
    }
    return found.empty() ? "ok" : found;
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
    if (command == "boxes") {
        return boxes(name);
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

int main() {
    for (std::string line; std::getline(std::cin, line);) {
        const std::size_t blank = std::min(line.find(' '), line.size());
        const std::string said =
            answer(line.substr(0, blank), line.substr(std::min(blank + 1, line.size()))) + "\n";
        std::fwrite(said.data(), 1, said.size(), stdout);
        std::fflush(stdout);
    }
    return 0;
}
