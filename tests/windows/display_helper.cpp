// Lives in the display test's Wine prefix for the whole run and answers its questions about the
// game, which it starts: one command a line on stdin, one UTF-8 line on stdout. The design is
// read from the acceptance tables, not from the program's own definitions.
//   start <vostrel.exe>    the game, in the folder that holds it; "ok" once its window shows
//   focus                  the control that has the keyboard focus, or "none"
//   framed                 the buttons of the uppermost window drawn with the default frame,
//                          or "none"
//   state                  "message", "open" (About) or "closed": the game's uppermost window
//   menus                  "menus" while the game's menus take the keys, else "none"
//   text <control>         its text; "message" is the text of the game's message box
//   rect <control>         its place on the screen, WxH+X+Y; "frmMain" is the game's window
//   client | origin        the game window's client area, W H | its top left on the screen, X Y
//   front                  the game's window to the front
//   about                  Help > About chosen, as the menu would
//   minimise | restore     the game's window minimised or restored, as its frame's buttons do
//   settle | redraw        what waits to be painted in the game's windows painted now | the
//                          windows repainted whole
//   close                  a message box and About closed
//   dpi <n>                the game told the pixel density changed, as Windows tells it
//   scheme <RRGGBB>        the system's title-bar text colour set, the one before answered
//   design <dpi> <ppm>     "ok", or what the open windows show otherwise than the design's
//                          tables say at that density, in the screenshot and their controls
//   boxes <ppm>            "ok", or the texts that show a character as a box, a missing
//                          glyph's shape, in the screenshot
//   colours <ppm>          "ok", or the game's labels not in the window's ground and text colours
//   end                    the game's exit code, once it has ended
// Controls are named as the design names them: "cmdOK", "CMD_ALPHA(3)".
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
#include <vector>

#include "Acceptance.h"
#include "CommandIds.h"
#include "forms/Definitions.h"
#include "platform/WinText.h"

namespace {

namespace forms = vostrel::forms;
using std::to_string;

PROCESS_INFORMATION game{};
int currentDpi = 96;

std::wstring windowsPath(const std::string& path) {
    std::wstring wide = vostrel::widen(path);
    wide = wide.starts_with(L"/") ? L"Z:" + wide : wide;  // Wine's drive for the host's root
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

std::vector<acceptance::Row> table(const char* name) {
    return acceptance::read(
        vostrel::narrow(windowsPath(std::string(VOSTREL_ACCEPTANCE_DIR "/") + name)));
}

// The design's rule: twips × dpi / 1440, halves up.
int pixels(const std::string& twips, int dpi) {
    return (std::stoi(twips) * dpi * 2 + 1440) / 2880;
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

std::string className(HWND window) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    return vostrel::narrow(name);
}

// The program identifies its controls by their place in its definitions; the test only finds
// them by it.
const forms::Form* formOf(HWND window) {
    const std::string name = className(window);
    return name == "frmMain" ? &forms::mainForm()
                             : (name == "frmAbout" ? &forms::aboutForm() : nullptr);
}

std::string nameOf(const forms::Control& control) {
    std::string name = control.name;
    return control.index < 0 ? name : name.append("(").append(to_string(control.index)) + ")";
}

std::string nameOf(HWND control) {
    const forms::Form* form = formOf(::GetParent(control));
    const auto at =
        static_cast<std::size_t>(::GetDlgCtrlID(control) - vostrel::win32::kFirstControlId);
    return form != nullptr && at < form->controls.size() ? nameOf(form->controls[at]) : "";
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
    for (HWND window : {about != nullptr ? about : gameWindow(L"frmMain")}) {
        for (HWND child = window != nullptr ? ::GetWindow(window, GW_CHILD) : nullptr; child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            const auto style = static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE));
            if (className(child) == "Button" && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                names.append(names.empty() ? "" : " ").append(nameOf(child));
            }
        }
    }
    return names.empty() ? "none" : names;
}

std::string text(HWND window) {
    std::wstring buffer(4096, L'\0');
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]),
                          SMTO_ABORTIFHUNG, 30000, &length);
    return vostrel::narrow(buffer.substr(0, length));
}

RECT clientOnScreen(HWND window) {
    RECT area;
    ::GetClientRect(window, &area);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

// A screenshot as ImageMagick writes it with -depth 8: binary PPM, a byte a channel.
struct Screen {
    int width = 0;
    int height = 0;
    std::string pixels;  // RGB, top row first
    [[nodiscard]] COLORREF at(int x, int y) const {
        const auto* p = reinterpret_cast<const unsigned char*>(&pixels[3 * (y * width + x)]);
        return RGB(p[0], p[1], p[2]);
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

int distance(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

// Part of a picture: the screenshot, or one the helper draws itself.
struct Region {
    std::function<COLORREF(int, int)> at;
    RECT r;

    // The most common colour.
    [[nodiscard]] COLORREF ground() const {
        std::map<COLORREF, int> counts;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                ++counts[at(x, y)];
            }
        }
        return counts.empty() ? 0
                              : std::max_element(counts.begin(), counts.end(), [](auto a, auto b) {
                                    return a.second < b.second;
                                })->first;
    }
    // Ink: what differs from the ground by more than a faint edge.
    [[nodiscard]] std::function<bool(int, int)> ink() const {
        return [this, ground = ground()](int x, int y) { return distance(at(x, y), ground) > 96; };
    }
    // How many pixels of ink each column holds.
    [[nodiscard]] std::vector<int> profile() const {
        const auto inked = ink();
        std::vector<int> columns;
        for (int x = r.left; x < r.right; ++x) {
            int count = 0;
            for (int y = r.top; y < r.bottom; ++y) {
                count += inked(x, y) ? 1 : 0;
            }
            columns.push_back(count);
        }
        return columns;
    }
    // From the first column with ink to the last.
    [[nodiscard]] int inkWidth() const {
        const std::vector<int> columns = profile();
        const auto first =
            std::find_if(columns.begin(), columns.end(), [](int c) { return c > 0; });
        const auto last =
            std::find_if(columns.rbegin(), columns.rend(), [](int c) { return c > 0; });
        return first == columns.end()
                   ? 0
                   : static_cast<int>(columns.rend() - last - (first - columns.begin()));
    }
};

Region region(const Screen& screen, const RECT& area) {
    return {[&screen](int x, int y) { return screen.at(x, y); },
            {std::max(0L, area.left), std::max(0L, area.top),
             std::min<LONG>(screen.width, area.right), std::min<LONG>(screen.height, area.bottom)}};
}

// Text drawn by the helper itself into a bitmap of `size`, black on white, to compare with what
// the game shows.
class Drawing {
public:
    explicit Drawing(SIZE size) : size_(size) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_ = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        dc_ = ::CreateCompatibleDC(nullptr);
        old_ = ::SelectObject(dc_, bitmap_);
        RECT all{0, 0, size.cx, size.cy};
        ::FillRect(dc_, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    ~Drawing() {
        ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
        ::DeleteObject(bitmap_);
    }
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    [[nodiscard]] HDC dc() const { return dc_; }
    [[nodiscard]] Region region() const {
        return {[this](int x, int y) {
                    const DWORD p = static_cast<const DWORD*>(bits_)[y * size_.cx + x];
                    return RGB(p >> 16 & 255, p >> 8 & 255, p & 255);
                },
                {0, 0, size_.cx, size_.cy}};
    }

private:
    SIZE size_;
    HBITMAP bitmap_ = nullptr;
    void* bits_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// What a player reads of a caption: an ampersand before a character marks it and is not shown,
// two show one. The marked character, or 0.
std::pair<std::string, char> shown(const std::string& caption) {
    std::string text;
    char key = 0;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;
            key = caption[i] != '&' && key == 0 ? caption[i] : key;
        }
        text += caption[i];
    }
    return {text, key};
}

int CALLBACK noteFace(const LOGFONTW* font, const TEXTMETRICW* metrics, DWORD, LPARAM faces) {
    // Japanese faces of the pitch asked for; those named with "@" are for vertical text.
    auto& [list, fixed] = *reinterpret_cast<std::pair<std::vector<std::wstring>, bool>*>(faces);
    const bool proportional = (metrics->tmPitchAndFamily & TMPF_FIXED_PITCH) != 0;
    if (font->lfFaceName[0] != L'@' && proportional != fixed) {
        list.emplace_back(font->lfFaceName);
    }
    return 1;
}

// The faces a design font may be drawn in: its own where it is installed, else any Japanese face
// of its pitch. The design's "ＭＳ ゴシック" is fixed pitch, "ＭＳ Ｐゴシック" proportional.
std::vector<std::wstring> faces(const std::wstring& design) {
    std::pair<std::vector<std::wstring>, bool> found{{}, design.find(L'Ｐ') == std::wstring::npos};
    LOGFONTW query{};
    query.lfCharSet = SHIFTJIS_CHARSET;
    HDC dc = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(dc, &query, noteFace, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, dc);
    const bool own = std::find(found.first.begin(), found.first.end(), design) != found.first.end();
    return own ? std::vector{design} : found.first;
}

// A label sized to its caption fits it in the design's font, a face of the design's or a stand-in:
// the text's extent and the label's frame.
bool fits(HWND label, const std::string& font, int dpi) {
    const std::size_t sizeAt = font.rfind(' ', font.rfind(' ') - 1);
    const std::wstring face = vostrel::widen(font.substr(0, sizeAt));
    const int points = std::stoi(font.substr(sizeAt + 1));
    const bool bold = font.ends_with(" bold");
    RECT outer;
    RECT inner;
    ::GetWindowRect(label, &outer);
    ::GetClientRect(label, &inner);
    const int frame = (outer.right - outer.left - inner.right) / 2;
    const std::wstring caption = vostrel::widen(text(label));
    HDC dc = ::GetDC(nullptr);
    bool fitted = false;
    for (const std::wstring& candidate : faces(face)) {
        HFONT made =
            ::CreateFontW(-::MulDiv(points, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                          FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0, candidate.c_str());
        HGDIOBJ old = ::SelectObject(dc, made);
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        ::SelectObject(dc, old);
        ::DeleteObject(made);
        fitted =
            fitted || (inner.right == extent.cx && inner.bottom == metrics.tmHeight && frame >= 0);
    }
    ::ReleaseDC(nullptr, dc);
    return fitted;
}

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

// A caption in the system's font for controls, at `dpi`, is as wide in ink as the helper draws it.
bool inSystemFont(const Screen& screen, HWND control, const std::string& caption, int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, 96);
    HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);
    Drawing drawn({1200, 200});
    HGDIOBJ old = ::SelectObject(drawn.dc(), font);
    RECT area{10, 10, 1190, 190};
    const std::wstring wide = vostrel::widen(caption);
    ::DrawTextW(drawn.dc(), wide.c_str(), static_cast<int>(wide.size()), &area,
                DT_SINGLELINE | (className(control) == "Button" ? 0 : DT_NOPREFIX));
    ::SelectObject(drawn.dc(), old);
    ::DeleteObject(font);
    RECT place = clientOnScreen(control);
    const bool button = className(control) == "Button";
    ::InflateRect(&place, button ? -4 : 0, button ? -4 : 0);
    // Within a pixel at each end: the two grounds shade the glyphs' edges differently.
    return std::abs(region(screen, place).inkWidth() - drawn.region().inkWidth()) <= 2;
}

// The runs of columns with ink, as "from-to" pairs: where a text's characters stand.
std::string inkRuns(const Region& part) {
    const std::vector<int> columns = part.profile();
    std::string runs;
    for (std::size_t x = 0; x < columns.size(); ++x) {
        if (columns[x] > 0 && (x == 0 || columns[x - 1] == 0)) {
            runs += to_string(x) + "-";
        }
        if (columns[x] > 0 && (x + 1 == columns.size() || columns[x + 1] == 0)) {
            runs += to_string(x + 1) + " ";
        }
    }
    return runs;
}

// The menu bar shows the design's menus: drawn by the system from the windows table's captions,
// its text stands exactly where the game's does.
bool menuBar(const Screen& screen, HWND window, const std::string& menus) {
    using DrawMenuBarTemp = DWORD(WINAPI*)(HWND, HDC, RECT*, HMENU, HFONT);
    const auto draw = reinterpret_cast<DrawMenuBarTemp>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "DrawMenuBarTemp")));
    const RECT client = clientOnScreen(window);
    RECT bar{0, 0, client.right - client.left, ::GetSystemMetrics(SM_CYMENU)};
    HMENU menu = ::CreateMenu();
    for (std::size_t from = 0; from < menus.size();) {
        const std::size_t to = std::min(menus.find("; ", from), menus.size());
        const std::string top = menus.substr(from, menus.find(" > ", from) - from);
        ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()),
                      vostrel::widen(top).c_str());
        from = to + 2;
    }
    Drawing drawn({bar.right, bar.bottom});
    draw(nullptr, drawn.dc(), &bar, menu, nullptr);
    ::DestroyMenu(menu);
    const Region shown =
        region(screen, {client.left, client.top - bar.bottom, client.right, client.top});
    return inkRuns(shown) == inkRuns(drawn.region());
}

// The open windows as the design's tables give them at `dpi`: each window's client size, place,
// caption and menu bar; each control's place as its sizing keeps it, its caption as a player reads
// it, and its font.
std::string design(int dpi, const Screen& screen) {
    std::string wrong;
    const auto note = [&](bool ok, const std::string& what) { wrong += ok ? "" : what + "; "; };
    for (const acceptance::Row& form : table("windows.tsv")) {
        const std::string& name = form.at("window");
        HWND window = gameWindow(vostrel::widen(name).c_str());
        if (window == nullptr) {
            continue;
        }
        const RECT client = clientOnScreen(window);
        note(client.right - client.left == pixels(form.at("width"), dpi) &&
                 client.bottom - client.top == pixels(form.at("height"), dpi),
             name + "'s client area");
        note(form.at("left") == "-" || (client.left == pixels(form.at("left"), dpi) &&
                                        client.top == pixels(form.at("top"), dpi)),
             name + "'s place");
        note(text(window) == form.at("caption"), name + "'s caption");
        note(form.at("menus") == "-" || screen.width == 0 ||
                 menuBar(screen, window, form.at("menus")),
             name + "'s menus");
        for (const acceptance::Row& row : table("design.tsv")) {
            if (row.at("window") != name) {
                continue;
            }
            const std::string what =
                row.at("control") + (row.at("index") == "-" ? "" : "(" + row.at("index") + ")");
            HWND item = control(what);
            RECT got = clientOnScreen(item);
            ::GetWindowRect(item, &got);
            ::OffsetRect(&got, -client.left, -client.top);
            const int left = pixels(row.at("left"), dpi);
            const int top = pixels(row.at("top"), dpi);
            const int width = pixels(row.at("width"), dpi);
            const int height = pixels(row.at("height"), dpi);
            const std::string& sizing = row.at("sizing");
            const std::string shows = text(item);
            bool placed = got.top == top;
            if (sizing == "fixed") {
                placed = placed && got.left == left && got.right - got.left == width &&
                         got.bottom - got.top == height;
            } else if (sizing == "centre" && shows.find("…") == std::string::npos) {
                placed = placed && std::abs(got.left + got.right - (2 * left + width)) <= 1;
            } else if (sizing == "centre") {  // cut to its ends: within the window
                placed = placed && got.left >= 0 && got.right <= client.right - client.left;
            } else {
                placed = placed && got.left == left;
            }
            // A picture area takes its picture's size, as designed at 96 dpi, and its frame.
            placed =
                placed && (sizing != "picture" || (std::abs(got.right - got.left - width) <= 2 &&
                                                   std::abs(got.bottom - got.top - height) <= 2));
            note(placed, what + "'s place");
            const std::string& caption = row.at("caption");
            if (row.at("kind") == "button") {
                // The one open case: the blank after its ampersand is no access key.
                const auto [want, key] = caption == "Reset & Start"
                                             ? std::pair<std::string, char>(caption, 0)
                                             : shown(caption);
                note(shown(shows) == std::pair(want, key), what + "'s caption");
            } else if (caption != "-" && sizing == "fixed") {
                note(shows == caption, what + "'s caption");
            }
            const std::string& font = row.at("font");
            if (font != "-") {
                note(fits(item, font, dpi), what + "'s font");
            } else if (row.at("kind") != "picture" && !shows.empty() && screen.width > 0 &&
                       !covered(item, clientOnScreen(item))) {
                note(inSystemFont(screen, item, shows, dpi), what + "'s font");
            }
        }
    }
    return wrong.empty() ? "ok" : wrong;
}

// Whether a region of the screen shows a missing glyph's box: cut into cells at the columns with
// no ink, a cell whose ink is only a rectangle's outline. A region with no ink at all shows
// nothing of its text either.
std::string boxes(const Screen& screen, const RECT& area) {
    const Region part = region(screen, area);
    const RECT& r = part.r;
    if (r.right <= r.left || r.bottom <= r.top) {
        return "off the screen";
    }
    const auto ink = part.ink();
    const std::vector<int> columns = part.profile();
    int cells = 0;
    for (int x = r.left; x < r.right; ++x) {
        if (columns[static_cast<std::size_t>(x - r.left)] == 0) {
            continue;
        }
        RECT cell{x, r.bottom, x, r.top};
        for (; x < r.right && columns[static_cast<std::size_t>(x - r.left)] > 0; ++x) {
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
            edge += (ink(i, cell.top) ? 1 : 0) + (ink(i, cell.bottom - 1) ? 1 : 0);
        }
        for (int i = cell.top; i < cell.bottom; ++i) {
            edge += (ink(cell.left, i) ? 1 : 0) + (ink(cell.right - 1, i) ? 1 : 0);
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
std::string boxes(const Screen& screen) {
    std::string found;
    const auto look = [&](HWND window, RECT area, const char* what) {
        if (covered(window, area)) {
            return;
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
        const RECT client = clientOnScreen(top);
        const int border = client.left - frame.left;
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
            const bool button = className(child) == "Button";
            RECT area = clientOnScreen(child);
            if ((button || className(child) == "Static") && ::IsWindowVisible(child) &&
                !text(child).empty() && area.right > area.left) {
                ::InflateRect(&area, button ? -4 : 0, button ? -4 : 0);
                look(child, area, "the caption");
            }
        }
    }
    return found.empty() ? "ok" : found;
}

// The game's labels are painted in the window's ground colour, their text in its text colour.
std::string colours(const Screen& screen) {
    std::string wrong;
    for (const char* name : {"WORD_LABEL", "RESULT_LABEL", "ANSWER_LABEL"}) {
        const Region part = region(screen, clientOnScreen(control(name)));
        bool text = false;
        for (int y = part.r.top; y < part.r.bottom; ++y) {
            for (int x = part.r.left; x < part.r.right; ++x) {
                text = text || part.at(x, y) == ::GetSysColor(COLOR_WINDOWTEXT);
            }
        }
        const bool ground = part.ground() == ::GetSysColor(COLOR_WINDOW);
        wrong += ground && text ? "" : std::string(name) + (ground ? "'s text; " : "'s ground; ");
    }
    return wrong.empty() ? "ok" : wrong;
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

std::string start(const std::string& path) {
    std::wstring program = windowsPath(path);
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

std::string answer(const std::string& command, const std::string& argument) {
    const std::array<HWND, 3> windows{gameWindow(L"#32770"), gameWindow(L"frmAbout"),
                                      gameWindow(L"frmMain")};
    HWND main = windows[2];
    const std::size_t blank = std::min(argument.find(' '), argument.size());
    const std::string second = argument.substr(std::min(blank + 1, argument.size()));
    const std::map<std::string, std::function<std::string()>> commands{
        {"start", [&] { return start(argument); }},
        {"focus", [] { return focus(); }},
        {"framed", [] { return framed(); }},
        {"state", [&] { return windows[0]   ? "message"
                               : windows[1] ? "open"
                                            : "closed"; }},
        {"menus",
         [] {
             return (threadInfo().flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0 ? "menus"
                                                                                     : "none";
         }},
        {"text", [&] { return text(control(argument)); }},
        {"rect",
         [&] {
             RECT area{};
             ::GetWindowRect(control(argument), &area);
             return to_string(area.right - area.left) + "x" + to_string(area.bottom - area.top) +
                    "+" + to_string(area.left) + "+" + to_string(area.top);
         }},
        {"client",
         [&] {
             const RECT area = clientOnScreen(main);
             return to_string(area.right - area.left) + " " + to_string(area.bottom - area.top);
         }},
        {"origin",
         [&] {
             const RECT area = clientOnScreen(main);
             return to_string(area.left) + " " + to_string(area.top);
         }},
        {"front",
         [&] {
             HWND top = *std::find_if(windows.begin(), windows.end() - 1, [](HWND w) { return w; });
             ::SetForegroundWindow(top);
             return waitFor([&] { return ::GetForegroundWindow() == top; }) ? "ok" : "not in front";
         }},
        {"about",
         [&] {
             const auto& menu = forms::mainForm().menu;
             for (std::size_t i = 0; i < menu.size(); ++i) {
                 if (menu[i].id == forms::Id::mnuHelpAbout) {
                     ::PostMessageW(main, WM_COMMAND, vostrel::win32::menuId(i), 0);
                 }
             }
             return waitFor([] { return gameWindow(L"frmAbout") != nullptr; }) ? "ok" : "no About";
         }},
        {"minimise",
         [&] {
             ::PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
             return waitFor([&] { return ::IsIconic(main) != FALSE; }) ? "ok" : "not minimised";
         }},
        {"restore",
         [&] {
             ::PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
             return waitFor([&] { return ::IsIconic(main) == FALSE; }) ? "ok" : "not restored";
         }},
        {"settle",
         [&] {
             for (HWND window : windows) {
                 ::RedrawWindow(window, nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
             }
             return "ok";
         }},
        {"redraw",
         [&] {
             for (HWND window : windows) {
                 ::RedrawWindow(
                     window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
             }
             return "ok";
         }},
        {"close",
         [&] {
             for (HWND window : {windows[0], windows[1]}) {
                 if (window != nullptr) {
                     ::PostMessageW(window, WM_CLOSE, 0, 0);
                     waitFor([&] { return !::IsWindow(window); });
                 }
             }
             return "ok";
         }},
        {"dpi",
         [&] {
             changeDpi(std::stoi(argument));
             return "ok";
         }},
        {"scheme",
         [&] {
             const COLORREF before = ::GetSysColor(COLOR_CAPTIONTEXT);
             const auto colour = static_cast<COLORREF>(std::stoul(argument, nullptr, 16));
             const int element = COLOR_CAPTIONTEXT;
             const COLORREF value = RGB(colour >> 16 & 255, colour >> 8 & 255, colour & 255);
             ::SetSysColors(1, &element, &value);
             char said[8];
             std::snprintf(said, sizeof said, "%02X%02X%02X", GetRValue(before), GetGValue(before),
                           GetBValue(before));
             return std::string(said);
         }},
        {"design", [&] { return design(std::stoi(argument), readScreen(second)); }},
        {"boxes",
         [&] {
             const Screen screen = readScreen(argument);
             return screen.width > 0 ? boxes(screen) : "no screenshot in " + argument;
         }},
        {"colours", [&] { return colours(readScreen(argument)); }},
        {"end",
         [] {
             DWORD code = STILL_ACTIVE;
             ::WaitForSingleObject(game.hProcess, 30000);
             ::GetExitCodeProcess(game.hProcess, &code);
             return code == STILL_ACTIVE ? std::string("still running") : to_string(code);
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
