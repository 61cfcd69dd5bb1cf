// Lives in the display test's Wine prefix for the whole run and answers its questions about the
// game, which it starts: one command a line on stdin, one UTF-8 line on stdout. The design is
// read from the acceptance tables, not from the program's own definitions.
//   start <vostrel.exe>    the game, in the folder that holds it; "ok" once its window shows
//   focus                  the control that has the keyboard focus, "elsewhere" or "none"
//   framed                 the buttons of the uppermost window drawn with the default frame,
//                          or "none"
//   state                  "message", "open" (About) or "closed": the game's uppermost window
//   menus                  "menus" while the game's menus take the keys, else "none"
//   text <control>         its text; "message" is the text of the game's message box
//   rect <control>         its place on the screen, WxH+X+Y; "frmMain" is the game's window
//   client                 the game window's client area on the screen, WxH+X+Y
//   front                  the game's window to the front
//   about                  Help > About chosen, as the menu would
//   minimise | restore     the game's window minimised or restored, as its frame's buttons do
//   settle | redraw        what waits to be painted in the game's windows painted now | the
//                          windows repainted whole
//   close                  a message box and About closed
//   dpi <n>                the game told the pixel density changed, as Windows tells it
//   design <dpi> <ppm>     "ok", or what the open windows show otherwise than the design's
//                          tables say at that density, in the screenshot and their controls
//   boxes <ppm>            "ok", or the texts that show a character as a box, a missing
//                          glyph's shape, in the screenshot
//   colours <ppm>          "ok", or the game's labels not in the window's ground and text colours
//   end                    the game's exit code, once it has ended
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <vector>

#include "Acceptance.h"
#include "Outside.h"

namespace {

using namespace outside;
using std::to_string;

PROCESS_INFORMATION game{};
int currentDpi = 96;

HWND gameWindow(const wchar_t* windowClass) {
    return topWindow(game.dwProcessId, windowClass);
}

HWND named(const std::string& name) {
    if (name == "frmMain" || name == "message") {
        return name == "frmMain" ? gameWindow(L"frmMain")
                                 : ::GetDlgItem(gameWindow(L"#32770"), 0xFFFF);
    }
    HWND main = control(gameWindow(L"frmMain"), name);
    return main != nullptr ? main : control(gameWindow(L"frmAbout"), name);
}

std::vector<acceptance::Row> table(const char* name) {
    return acceptance::read(
        vostrel::narrow(windowsPath(std::string(VOSTREL_ACCEPTANCE_DIR "/") + name)));
}

// The design's rule: twips × dpi / 1440, halves up.
int pixels(const std::string& twips, int dpi) {
    return (std::stoi(twips) * dpi * 2 + 1440) / 2880;
}

GUITHREADINFO threadInfo() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(game.dwThreadId, &info);
    return info;
}

std::string focus() {
    const HWND focused = threadInfo().hwndFocus;
    const std::string name = nameOf(focused);
    return !name.empty() ? name : focused != nullptr ? "elsewhere" : "none";
}

// In the uppermost of the game's windows.
std::string framed() {
    std::string names;
    HWND about = gameWindow(L"frmAbout");
    for (HWND child = ::GetWindow(about != nullptr ? about : gameWindow(L"frmMain"), GW_CHILD);
         child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const auto style = static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE));
        if (className(child) == "Button" && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            names.append(names.empty() ? "" : " ").append(nameOf(child));
        }
    }
    return names.empty() ? "none" : names;
}

RECT clientOnScreen(HWND window) {
    RECT area{};
    ::GetClientRect(window, &area);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

RECT windowRect(HWND window) {
    RECT area{};
    ::GetWindowRect(window, &area);
    return area;
}

std::string place(const RECT& area) {
    return to_string(area.right - area.left) + "x" + to_string(area.bottom - area.top) + "+" +
           to_string(area.left) + "+" + to_string(area.top);
}

// A screenshot as ImageMagick writes it with -depth 8 (binary PPM), or text the helper draws.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // top row first
};

Picture readScreen(const std::string& path) {
    std::ifstream in(std::filesystem::path(windowsPath(path)), std::ios::binary);
    Picture screen;
    std::string magic;
    int depth = 0;
    in >> magic >> screen.width >> screen.height >> depth;
    in.get();
    std::string bytes(static_cast<std::size_t>(3 * screen.width * screen.height), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    for (std::size_t i = 0; i + 2 < bytes.size(); i += 3) {
        screen.pixels.push_back(RGB(bytes[i] & 255, bytes[i + 1] & 255, bytes[i + 2] & 255));
    }
    return magic == "P6" && depth == 255 && in ? screen : Picture{};
}

// What `paint` draws, black on white, in a bitmap of `size`.
Picture drawn(SIZE size, const std::function<void(HDC)>& paint) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT all{0, 0, size.cx, size.cy};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    paint(dc);
    ::GdiFlush();
    Picture picture{size.cx, size.cy, {}};
    for (LONG i = 0; i < size.cx * size.cy; ++i) {
        const DWORD p = static_cast<const DWORD*>(bits)[i];
        picture.pixels.push_back(RGB(p >> 16 & 255, p >> 8 & 255, p & 255));
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    return picture;
}

// Part of a picture, cut to it, with its most common colour as the ground; ink is what differs
// from the ground by more than a faint edge.
struct Area {
    const Picture& picture;
    RECT r;
    COLORREF ground = 0;

    Area(const Picture& in, const RECT& area)
        : picture(in),
          r{std::max(0L, area.left), std::max(0L, area.top), std::min<LONG>(in.width, area.right),
            std::min<LONG>(in.height, area.bottom)} {
        std::map<COLORREF, int> counts;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                ground = ++counts[at(x, y)] > counts[ground] ? at(x, y) : ground;
            }
        }
    }
    [[nodiscard]] COLORREF at(int x, int y) const { return picture.pixels[y * picture.width + x]; }
    [[nodiscard]] bool ink(int x, int y) const {
        const COLORREF c = at(x, y);
        return std::abs(GetRValue(c) - GetRValue(ground)) +
                   std::abs(GetGValue(c) - GetGValue(ground)) +
                   std::abs(GetBValue(c) - GetBValue(ground)) >
               96;
    }
    // The columns with ink, as "from-to" runs: where a text's characters stand.
    [[nodiscard]] std::vector<std::pair<int, int>> runs() const {
        std::vector<std::pair<int, int>> found;
        for (int x = r.left; x < r.right; ++x) {
            bool inked = false;
            for (int y = r.top; y < r.bottom && !inked; ++y) {
                inked = ink(x, y);
            }
            if (inked && (found.empty() || found.back().second != x)) {
                found.emplace_back(x, x + 1);
            } else if (inked) {
                found.back().second = x + 1;
            }
        }
        return found;
    }
    [[nodiscard]] int inkWidth() const {
        const auto found = runs();
        return found.empty() ? 0 : found.back().second - found.front().first;
    }
};

// Whether another window lies over part of `area`, on the screen.
bool covered(HWND window, const RECT& area) {
    for (HWND above = ::GetWindow(::GetAncestor(window, GA_ROOT), GW_HWNDPREV); above != nullptr;
         above = ::GetWindow(above, GW_HWNDPREV)) {
        RECT there;
        RECT both;
        if (::IsWindowVisible(above) && ::GetWindowRect(above, &there) &&
            ::IntersectRect(&both, &there, &area)) {
            return true;
        }
    }
    return false;
}

// Where a control's caption is drawn: a button's inside its edges.
RECT captionArea(HWND control) {
    RECT area = clientOnScreen(control);
    const int edge = className(control) == "Button" ? -4 : 0;
    ::InflateRect(&area, edge, edge);
    return area;
}

// A caption's ink is as wide on the screen as the helper draws it in one of `fonts`: the design's
// face, points and weight ("ＭＳ ゴシック 18 bold"), a Japanese face of its pitch where the face
// itself is missing; or "-", the system's message font.
bool inFont(const Picture& screen, HWND control, const std::string& font, int dpi) {
    std::vector<LOGFONTW> fonts;
    if (font == "-") {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, 96);
        fonts.push_back(metrics.lfMessageFont);
    } else {
        const std::size_t at = font.rfind(' ', font.rfind(' ') - 1);
        const std::wstring face = vostrel::widen(font.substr(0, at));
        LOGFONTW query{};
        query.lfCharSet = SHIFTJIS_CHARSET;
        query.lfHeight = -::MulDiv(std::stoi(font.substr(at + 1)), dpi, 72);
        query.lfWeight = font.ends_with(" bold") ? FW_BOLD : FW_NORMAL;
        // "ＭＳ ゴシック" is fixed pitch, "ＭＳ Ｐゴシック" proportional; "@" faces are for
        // vertical text.
        std::pair<std::vector<std::wstring>, bool> faces{{},
                                                         face.find(L'Ｐ') == std::wstring::npos};
        HDC dc = ::GetDC(nullptr);
        ::EnumFontFamiliesExW(
            dc, &query,
            [](const LOGFONTW* each, const TEXTMETRICW* metrics, DWORD, LPARAM to) {
                auto& [list, fixed] = *reinterpret_cast<decltype(faces)*>(to);
                if (each->lfFaceName[0] != L'@' &&
                    ((metrics->tmPitchAndFamily & TMPF_FIXED_PITCH) == 0) == fixed) {
                    list.emplace_back(each->lfFaceName);
                }
                return 1;
            },
            reinterpret_cast<LPARAM>(&faces), 0);
        ::ReleaseDC(nullptr, dc);
        if (std::find(faces.first.begin(), faces.first.end(), face) != faces.first.end()) {
            faces.first = {face};
        }
        for (const std::wstring& each : faces.first) {
            fonts.push_back(query);
            each.copy(fonts.back().lfFaceName, LF_FACESIZE - 1);
        }
    }
    const std::wstring caption = vostrel::widen(text(control));
    const int shown = Area(screen, captionArea(control)).inkWidth();
    return std::any_of(fonts.begin(), fonts.end(), [&](const LOGFONTW& each) {
        const Picture own = drawn({1200, 200}, [&](HDC dc) {
            HFONT made = ::CreateFontIndirectW(&each);
            HGDIOBJ old = ::SelectObject(dc, made);
            RECT area{10, 10, 1190, 190};
            ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area,
                        DT_SINGLELINE | (className(control) == "Button" ? 0 : DT_NOPREFIX));
            ::DeleteObject(::SelectObject(dc, old));
        });
        // Within a pixel at each end: the two grounds shade the glyphs' edges differently.
        return std::abs(Area(own, {0, 0, 1200, 200}).inkWidth() - shown) <= 2;
    });
}

// Whether an area of the screen shows a missing glyph's box: cut into cells at the columns with no
// ink, a cell whose ink is only a rectangle's outline. An area with no ink at all shows nothing
// of its text either.
std::string boxes(const Area& area) {
    const auto cells = area.runs();
    if (cells.empty()) {
        return "nothing drawn";
    }
    for (const auto& [left, right] : cells) {
        int top = area.r.bottom;
        int bottom = area.r.top;
        for (int y = area.r.top; y < area.r.bottom; ++y) {
            for (int x = left; x < right; ++x) {
                top = area.ink(x, y) ? std::min(top, y) : top;
                bottom = area.ink(x, y) ? std::max(bottom, y + 1) : bottom;
            }
        }
        const int width = right - left;
        const int height = bottom - top;
        // The outline inked nearly all round, the middle empty.
        int edge = 0;
        bool middle = false;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const bool outline = y == top || y == bottom - 1 || x == left || x == right - 1;
                edge += outline && area.ink(x, y) ? 1 : 0;
                middle =
                    middle || (y >= top + height / 3 && y < bottom - height / 3 &&
                               x >= left + width / 3 && x < right - width / 3 && area.ink(x, y));
            }
        }
        if (width >= 3 && height >= 5 && !middle && 10 * edge >= 9 * (2 * (width + height) - 4)) {
            return "a box at " + to_string(left) + "," + to_string(top);
        }
    }
    return "";
}

// Every caption of the game's labels and buttons, message boxes' too, that no other window
// covers.
std::string boxes(const Picture& screen) {
    std::string found;
    const auto look = [&](HWND window, const RECT& area, const char* what) {
        const std::string wrong = covered(window, area) ? "" : boxes(Area(screen, area));
        found +=
            wrong.empty() ? "" : std::string(what) + " \"" + text(window) + "\": " + wrong + "; ";
    };
    for (HWND top : {gameWindow(L"#32770"), gameWindow(L"frmAbout"), gameWindow(L"frmMain")}) {
        if (top == nullptr) {
            continue;
        }
        for (HWND child = ::GetWindow(top, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            const RECT area = captionArea(child);
            if ((className(child) == "Button" || className(child) == "Static") &&
                ::IsWindowVisible(child) && !text(child).empty() && area.right > area.left) {
                look(child, area, "the caption");
            }
        }
    }
    return found.empty() ? "ok" : found;
}

// The game's labels are painted in the window's ground colour, their text in its text colour.
std::string colours(const Picture& screen) {
    std::string wrong;
    for (const char* name : {"WORD_LABEL", "RESULT_LABEL", "ANSWER_LABEL"}) {
        const Area label(screen, clientOnScreen(named(name)));
        bool inText = false;
        for (int y = label.r.top; y < label.r.bottom; ++y) {
            for (int x = label.r.left; x < label.r.right; ++x) {
                inText = inText || label.at(x, y) == ::GetSysColor(COLOR_WINDOWTEXT);
            }
        }
        const bool ground = label.ground == ::GetSysColor(COLOR_WINDOW);
        wrong += ground && inText ? "" : std::string(name) + (ground ? "'s text; " : "'s ground; ");
    }
    return wrong.empty() ? "ok" : wrong;
}

// What a player reads of a caption: an ampersand before a character marks it and is not shown,
// two show one. The text, and the marked character or 0.
std::pair<std::string, char> shown(const std::string& caption) {
    std::string read;
    char key = 0;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            key = caption[++i] != '&' && key == 0 ? caption[i] : key;
        }
        read += caption[i];
    }
    return {read, key};
}

// The open windows as the design's tables give them at `dpi`: each window's client size, place
// and caption; each control's place as its sizing keeps it, its caption as a player reads
// it, and its font.
std::string design(int dpi, const Picture& screen) {
    std::string wrong;
    const auto note = [&](bool ok, const std::string& what) { wrong += ok ? "" : what + "; "; };
    for (const acceptance::Row& form : table("windows.tsv")) {
        const std::string& name = form.at("window");
        HWND window = gameWindow(vostrel::widen(name).c_str());
        if (window == nullptr) {
            continue;
        }
        const RECT client = clientOnScreen(window);
        note(place(client).starts_with(to_string(pixels(form.at("width"), dpi)) + "x" +
                                       to_string(pixels(form.at("height"), dpi)) + "+") &&
                 (form.at("left") == "-" || (client.left == pixels(form.at("left"), dpi) &&
                                             client.top == pixels(form.at("top"), dpi))),
             name + "'s client area");
        note(text(window) == form.at("caption"), name + "'s caption");
        for (const acceptance::Row& row : table("design.tsv")) {
            const std::string what =
                row.at("control") + (row.at("index") == "-" ? "" : "(" + row.at("index") + ")");
            if (row.at("window") != name) {
                continue;
            }
            HWND item = control(window, what);
            RECT got{};
            ::GetWindowRect(item, &got);
            ::OffsetRect(&got, -client.left, -client.top);
            const int left = pixels(row.at("left"), dpi);
            const int width = pixels(row.at("width"), dpi);
            const int height = pixels(row.at("height"), dpi);
            const std::string& sizing = row.at("sizing");
            const std::string shows = text(item);
            const bool cut = shows.find("…") != std::string::npos;
            bool placed = got.top == pixels(row.at("top"), dpi);
            if (sizing == "fixed") {
                placed =
                    placed && place(got) == place({left, got.top, left + width, got.top + height});
            } else if (sizing == "centre") {  // cut to its ends: within the window
                placed = placed && (cut ? got.left >= 0 && got.right <= client.right - client.left
                                        : std::abs(got.left + got.right - (2 * left + width)) <= 1);
            } else {
                placed = placed && got.left == left;
            }
            // A picture area takes its picture's size, as designed at 96 dpi, and its frame.
            note(placed && (sizing != "picture" || (std::abs(got.right - got.left - width) <= 2 &&
                                                    std::abs(got.bottom - got.top - height) <= 2)),
                 what + "'s place");
            const std::string& caption = row.at("caption");
            if (row.at("kind") == "button") {
                // The one open case: the blank after its ampersand is no access key.
                note(shown(shows) ==
                         (caption == "Reset & Start" ? std::pair(caption, '\0') : shown(caption)),
                     what + "'s caption");
            } else if (caption != "-" && sizing == "fixed") {
                note(shows == caption, what + "'s caption");
            }
            if (row.at("kind") != "picture" && screen.width > 0 &&
                !covered(item, clientOnScreen(item))) {
                note(inFont(screen, item, row.at("font"), dpi), what + "'s font");
            }
        }
    }
    return wrong.empty() ? "ok" : wrong;
}

// Windows suggests a frame around the client area scaled to the new density, the frame itself
// sized for that density, and hands it over in the receiver's memory.
std::string changeDpi(int dpi) {
    HWND main = gameWindow(L"frmMain");
    RECT frame;
    ::GetWindowRect(main, &frame);
    RECT suggested;
    ::GetClientRect(main, &suggested);
    suggested.right = ::MulDiv(suggested.right, dpi, currentDpi);
    suggested.bottom = ::MulDiv(suggested.bottom, dpi, currentDpi);
    ::AdjustWindowRectExForDpi(&suggested, static_cast<DWORD>(::GetWindowLongW(main, GWL_STYLE)),
                               TRUE, static_cast<DWORD>(::GetWindowLongW(main, GWL_EXSTYLE)),
                               static_cast<UINT>(dpi));
    ::OffsetRect(&suggested, frame.left - suggested.left, frame.top - suggested.top);
    void* there = ::VirtualAllocEx(game.hProcess, nullptr, sizeof suggested,
                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ::WriteProcessMemory(game.hProcess, there, &suggested, sizeof suggested, nullptr);
    ::SendMessageTimeoutW(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                          reinterpret_cast<LPARAM>(there), SMTO_ABORTIFHUNG, 30000, nullptr);
    ::VirtualFreeEx(game.hProcess, there, 0, MEM_RELEASE);
    currentDpi = dpi;
    return "ok";
}

std::string answer(const std::string& command, const std::string& argument) {
    HWND message = gameWindow(L"#32770");
    HWND about = gameWindow(L"frmAbout");
    HWND main = gameWindow(L"frmMain");
    HWND top = message != nullptr ? message : about != nullptr ? about : main;
    const auto until = [](const std::function<bool()>& done, const char* otherwise) {
        return waitFor(done) ? std::string("ok") : std::string(otherwise);
    };
    const auto repaint = [&](UINT how) {
        for (HWND window : {message, about, main}) {
            ::RedrawWindow(window, nullptr, nullptr, how | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        return "ok";
    };
    const auto frameButton = [&](WPARAM button, bool iconic) {
        ::PostMessageW(main, WM_SYSCOMMAND, button, 0);
        return until([&] { return (::IsIconic(main) != FALSE) == iconic; }, "not so");
    };
    const auto screen = [&] { return readScreen(argument.substr(argument.find(' ') + 1)); };
    const std::wstring program = windowsPath(argument);
    DWORD code = STILL_ACTIVE;
    const std::map<std::string, std::function<std::string()>> commands{
        {"start",
         [&] {
             return start(program, program.substr(0, program.rfind(L'\\')), game)
                        ? until([] { return gameWindow(L"frmMain") != nullptr; }, "no window")
                        : "cannot start";
         }},
        {"focus", focus},
        {"framed", framed},
        {"state",
         [&] { return message != nullptr ? "message"
                      : about != nullptr ? "open"
                                         : "closed"; }},
        {"menus",
         [] {
             return (threadInfo().flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0 ? "menus"
                                                                                     : "none";
         }},
        {"text", [&] { return text(named(argument)); }},
        {"rect", [&] { return place(windowRect(named(argument))); }},
        {"client", [&] { return place(clientOnScreen(main)); }},
        {"front",
         [&] {
             ::SetForegroundWindow(top);
             return until([&] { return ::GetForegroundWindow() == top; }, "not in front");
         }},
        {"about",
         [&] {
             choose(main, forms::Id::mnuHelpAbout);
             return until([] { return gameWindow(L"frmAbout") != nullptr; }, "no About");
         }},
        {"minimise", [&] { return frameButton(SC_MINIMIZE, true); }},
        {"restore", [&] { return frameButton(SC_RESTORE, false); }},
        {"settle", [&] { return repaint(0); }},
        {"redraw", [&] { return repaint(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME); }},
        {"close",
         [&] {
             ::PostMessageW(message, WM_CLOSE, 0, 0);
             ::PostMessageW(about, WM_CLOSE, 0, 0);
             return until([] { return !gameWindow(L"#32770") && !gameWindow(L"frmAbout"); },
                          "still open");
         }},
        {"dpi", [&] { return changeDpi(std::stoi(argument)); }},
        {"design", [&] { return design(std::stoi(argument), screen()); }},
        {"boxes", [&] { return boxes(screen()); }},
        {"colours", [&] { return colours(screen()); }},
        {"end",
         [&] {
             ::WaitForSingleObject(game.hProcess, 30000);
             ::GetExitCodeProcess(game.hProcess, &code);
             return code == STILL_ACTIVE ? "still running" : to_string(code);
         }},
    };
    const auto found = commands.find(command);
    return found != commands.end() ? found->second() : "no such command: " + command;
}

}  // namespace

int main() {
    for (std::string line; std::getline(std::cin, line);) {
        const std::size_t blank = std::min(line.find(' '), line.size());
        std::string said;
        try {
            said = answer(line.substr(0, blank), line.substr(std::min(blank + 1, line.size())));
        } catch (const std::exception& error) {
            said = std::string("failed: ") + error.what();
        }
        said += "\n";
        std::fwrite(said.data(), 1, said.size(), stdout);
        std::fflush(stdout);
    }
    return 0;
}
