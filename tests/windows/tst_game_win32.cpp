// Plays the real vostrel.exe from outside, as a player and a screen reader meet it: every row
// starts the program in a throwaway application folder and drives it with window messages (under
// Wine's null graphics driver in the build), and checks that it ends with exit code 0 and wrote
// nothing into its folder.
// Usage: tst_game_win32 <vostrel.exe> <stand-in program>
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "CommandIds.h"
#include "forms/Definitions.h"
#include "forms/Layout.h"
#include "platform/WinText.h"

namespace {

namespace forms = vostrel::forms;
namespace win32 = vostrel::win32;
using forms::Id;

int passed = 0;
int failed = 0;
std::string row;  // named in every failure
std::wstring program;
std::wstring standIn;
std::wstring work;  // everything the test makes lies in here

void check(bool ok, const std::string& what) {
    ok ? ++passed : ++failed;
    if (!ok) {
        std::printf("FAIL: %s: %s\n", row.c_str(), what.c_str());
    }
}

std::wstring windowsPath(const char* argument) {
    std::wstring path = vostrel::widen(argument);
    path = path.starts_with(L"/") ? L"Z:" + path : path;  // Wine's drive for the host's root
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

void writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string readFile(const std::wstring& path) {
    std::string bytes(64, '\0');
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    DWORD got = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    ::CloseHandle(file);
    return bytes.substr(0, got);
}

bool exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The kinds of bitmap file a player may put in the folder.
enum class Kind { Palette4, Fields16, Fields32, Core24 };

// A grey picture of a kind, whose header may claim another width: 16 colours as the game ships
// them, 16 or 32 bits a pixel in bit fields, or 24 bits with the oldest, 12-byte header.
std::string bmp(int width, int height, Kind kind = Kind::Palette4, int claimedWidth = 0) {
    const bool core = kind == Kind::Core24;
    const int bits = kind == Kind::Palette4   ? 4
                     : kind == Kind::Fields16 ? 16
                     : kind == Kind::Fields32 ? 32
                                              : 24;
    const int stride = (width * bits + 31) / 32 * 4;
    const int extra = kind == Kind::Palette4 ? 64 : core ? 0 : 12;  // the palette or the masks
    const int offset = 14 + (core ? 12 : 40) + extra;
    const auto field = [](std::string& out, std::uint32_t value, int size) {
        out.append(reinterpret_cast<const char*>(&value), static_cast<std::size_t>(size));
    };
    std::string out = "BM";
    for (const int value : {offset + stride * height, 0, offset}) {
        field(out, static_cast<std::uint32_t>(value), 4);
    }
    const int shownWidth = claimedWidth != 0 ? claimedWidth : width;
    if (core) {
        for (const int value : {12, shownWidth, height, 1, bits}) {
            field(out, static_cast<std::uint32_t>(value), value == 12 ? 4 : 2);
        }
    } else {
        for (const int value :
             {40, shownWidth, height, 1 | bits << 16, kind == Kind::Palette4 ? 0 : 3,
              stride * height, 2835, 2835, kind == Kind::Palette4 ? 16 : 0, 0}) {
            field(out, static_cast<std::uint32_t>(value), 4);
        }
    }
    if (kind == Kind::Palette4) {
        for (std::uint32_t colour = 0; colour < 16; ++colour) {
            field(out, colour * 0x111111, 4);
        }
    } else if (!core) {
        const bool wide = kind == Kind::Fields32;
        for (const std::uint32_t mask :
             {wide ? 0xFF0000u : 0xF800u, wide ? 0xFF00u : 0x7E0u, wide ? 0xFFu : 0x1Fu}) {
            field(out, mask, 4);
        }
    }
    return out + std::string(static_cast<std::size_t>(stride * height), '\x12');
}

std::string randomBytes(std::size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

// Names, sizes and times of what a folder holds, to tell that a run changed nothing.
std::wstring listing(const std::wstring& folder) {
    std::wstring all;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            all += name + L" " + std::to_wstring(found.nFileSizeLow) + L" " +
                   std::to_wstring(found.ftLastWriteTime.dwLowDateTime) + L"\n";
        }
    }
    ::FindClose(search);
    return all;
}

// An application folder with a blank in its path: the program, eleven pictures of `side` pixels
// square and the word file.
std::wstring folder(const std::string& words, int side = 120) {
    static int made = 0;
    const std::wstring path = work + L"\\app " + std::to_wstring(++made);
    ::CreateDirectoryW(path.c_str(), nullptr);
    ::CopyFileW(program.c_str(), (path + L"\\vostrel.exe").c_str(), FALSE);
    for (int stage = 0; stage <= 10; ++stage) {
        writeFile(path + L"\\" + std::to_wstring(stage) + L".bmp", bmp(side, side));
    }
    writeFile(path + L"\\h_dat.txt", words);
    return path;
}

std::vector<std::pair<DWORD, HWND>> events;

void CALLBACK noteEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG, DWORD, DWORD) {
    events.emplace_back(event, window);
}

// Runs this thread's messages, which bring the events, until `done` or the time has passed.
// Another Wine process may take seconds to start on a busy machine.
bool waitFor(const std::function<bool()>& done, int milliseconds = 30000) {
    for (int waited = 0; waited < milliseconds; waited += 10) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&message);
        }
        if (done()) {
            return true;
        }
        ::Sleep(10);
    }
    return false;
}

bool sawEvent(DWORD event, HWND window) {
    const auto wanted = std::make_pair(event, window);
    return waitFor([&] { return std::find(events.begin(), events.end(), wanted) != events.end(); });
}

std::wstring text(HWND window) {
    std::wstring buffer(4096, L'\0');
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]),
                          SMTO_ABORTIFHUNG, 30000, &length);
    return buffer.substr(0, length);
}

// A control of one of the program's windows, found by the identifier its definition gives it.
HWND control(HWND window, Id id, int index = -1) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    const auto& controls =
        (std::wstring(name) == L"frmAbout" ? forms::aboutForm() : forms::mainForm()).controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].id == id && controls[i].index == index) {
            return ::GetDlgItem(window, win32::controlId(i));
        }
    }
    return nullptr;
}

void click(HWND button) {
    ::SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 30000, nullptr);
}

// Chooses a menu item, without waiting for what it opens.
void choose(HWND window, Id item) {
    const auto& menu = forms::mainForm().menu;
    for (std::size_t i = 0; i < menu.size(); ++i) {
        if (menu[i].id == item) {
            ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(win32::menuId(i)), 0);
        }
    }
}

// The program started in an application folder, watched through the events a screen reader gets.
class Game {
public:
    explicit Game(const std::wstring& folder) : folder_(folder), before_(listing(folder)) {
        std::wstring commandLine = L"\"" + folder + L"\\vostrel.exe\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        check(::CreateProcessW((folder + L"\\vostrel.exe").c_str(), commandLine.data(), nullptr,
                               nullptr, FALSE, 0, nullptr, work.c_str(), &startup, &process_),
              "the program starts");
        for (DWORD event : std::vector<DWORD>{EVENT_SYSTEM_ALERT, EVENT_OBJECT_NAMECHANGE,
                                              EVENT_OBJECT_LIVEREGIONCHANGED}) {
            hooks_.push_back(::SetWinEventHook(event, event, nullptr, noteEvent,
                                               process_.dwProcessId, 0, WINEVENT_OUTOFCONTEXT));
        }
        events.clear();
    }

    ~Game() {
        for (HWINEVENTHOOK hook : hooks_) {
            ::UnhookWinEvent(hook);
        }
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) {
            ::TerminateProcess(process_.hProcess, 1);
        }
        ::GetExitCodeProcess(process_.hProcess, &code);
        check(code == 0, "the program ends with exit code 0");
        check(listing(folder_) == before_, "the program wrote nothing in its folder");
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }

    // The program's visible top-level window of a class, waited for.
    [[nodiscard]] HWND window(const wchar_t* windowClass, bool wait = true) const {
        HWND found = nullptr;
        auto look = [&] {
            for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, windowClass, nullptr));) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(w, &owner);
                found = owner == process_.dwProcessId && ::IsWindowVisible(w) ? w : found;
            }
            return found != nullptr || ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
        };
        wait ? waitFor(look) : look();
        // A program that cannot start would fail every row after a wait: the run ends at once.
        DWORD code = 0;
        if (found == nullptr && ::GetExitCodeProcess(process_.hProcess, &code) && code != 0 &&
            code != STILL_ACTIVE) {
            std::printf("FAIL: %s: the program ended with exit code %lu before showing a window\n",
                        row.c_str(), code);
            std::exit(1);
        }
        return found;
    }

    // The text of the message box the program shows now, owned by `owner`, once it is answered.
    [[nodiscard]] std::wstring answer(HWND owner) const {
        HWND box = window(L"#32770");
        check(box != nullptr && text(box) == L"Vostrel" && ::GetWindow(box, GW_OWNER) == owner &&
                  ::GetDlgItem(box, IDCANCEL) == nullptr,
              "a message box titled Vostrel with only OK, owned by the window that shows it");
        const std::wstring said = text(::GetDlgItem(box, 0xFFFF));
        ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        check(waitFor([&] { return !::IsWindow(box); }), "OK dismisses the message box");
        return said;
    }

private:
    std::wstring folder_;
    std::wstring before_;
    PROCESS_INFORMATION process_{};
    std::vector<HWINEVENTHOOK> hooks_;
};

void setRegistry(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data,
                 DWORD size) {
    HKEY handle = nullptr;
    ::RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    data != nullptr ? ::RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), size)
                    : ::RegDeleteValueW(handle, name);
    ::RegCloseKey(handle);
}

void setDpi(DWORD dpi) {
    setRegistry(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, 4);
}

// Whatever lies in the application folder, the program shows the message Linux shows, before its
// window ever appears, or a playable game with the empty picture where a picture cannot be shown.
void testInstallations() {
    enum Spoil { Write, Remove, Folder, Huge, Held };
    struct Installation {
        const char* tag;
        const wchar_t* file;
        Spoil spoil;
        std::string bytes;
        const wchar_t* message;  // or null for a game, with a picture area this many pixels square
        int pictureSide;
    };
    const std::vector<Installation> rows = {
        {"no word file", L"h_dat.txt", Remove, "", L"Data File Not exists.", 0},
        {"word file is a folder", L"h_dat.txt", Folder, "", L"Data File Not exists.", 0},
        {"empty word file", L"h_dat.txt", Write, "", L"The word file holds no words.", 0},
        {"word file over 64 MiB", L"h_dat.txt", Huge, "",
         L"The word file is too large to be a word list.", 0},
        {"word file held open by another program", L"h_dat.txt", Held, "",
         L"The word file cannot be read.", 0},
        {"word file of random bytes", L"h_dat.txt", Write, randomBytes(65536), nullptr, 120},
        {"a word wider than the window", L"h_dat.txt", Write, std::string(64, 'w'), nullptr, 120},
        {"picture missing", L"0.bmp", Remove, "", nullptr, 200},
        {"picture of random bytes", L"0.bmp", Write, randomBytes(4096), nullptr, 200},
        {"picture of 2,049 pixels a side", L"0.bmp", Write, bmp(2049, 16), nullptr, 200},
        {"picture claiming 4,096 pixels a side", L"0.bmp", Write,
         bmp(120, 120, Kind::Palette4, 4096), nullptr, 200},
        {"picture cut short", L"0.bmp", Write, bmp(120, 120).substr(0, 500), nullptr, 200},
        {"picture of 16 bits in bit fields", L"0.bmp", Write, bmp(90, 90, Kind::Fields16), nullptr,
         90},
        {"picture of 32 bits in bit fields", L"0.bmp", Write, bmp(90, 90, Kind::Fields32), nullptr,
         90},
        {"picture with the oldest header", L"0.bmp", Write, bmp(90, 90, Kind::Core24), nullptr, 90},
    };
    for (const Installation& installation : rows) {
        row = installation.tag;
        const std::wstring at = folder("abc");
        const std::wstring path = at + L"\\" + installation.file;
        HANDLE held =
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                          installation.spoil == Held ? OPEN_EXISTING : CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(held, installation.bytes.data(), static_cast<DWORD>(installation.bytes.size()),
                    &written, nullptr);
        if (installation.spoil == Huge) {
            ::SetFilePointer(held, 64 * 1024 * 1024 + 1, nullptr, FILE_BEGIN);
            ::SetEndOfFile(held);
        }
        if (installation.spoil != Held) {
            ::CloseHandle(held);
        }
        if (installation.spoil == Remove || installation.spoil == Folder) {
            ::DeleteFileW(path.c_str());
        }
        if (installation.spoil == Folder) {
            ::CreateDirectoryW(path.c_str(), nullptr);
        }
        Game game(at);
        if (installation.message != nullptr) {
            check(game.answer(nullptr) == installation.message, "the message");
            check(game.window(L"frmMain", false) == nullptr, "the game window is never shown");
        } else {
            HWND main = game.window(L"frmMain");
            RECT area;
            ::GetClientRect(control(main, Id::HUNG_PICT), &area);
            check(area.right == installation.pictureSide && area.bottom == installation.pictureSide,
                  "the picture area's size");
            RECT word;
            ::GetWindowRect(control(main, Id::WORD_LABEL), &word);
            ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&word), 2);
            check(!text(control(main, Id::WORD_LABEL)).empty() && word.left >= 0 &&
                      word.right <= forms::pixels(forms::mainForm().clientWidth, 96),
                  "a word to guess, inside the window");
            ::PostMessageW(main, WM_CLOSE, 0, 0);  // the frame's Close ends the program
        }
        if (installation.spoil == Held) {
            ::CloseHandle(held);
        }
    }
}

// A won and a lost game, as a screen reader meets them; then the word file gone at Reset & Start.
// The keyboard's way through the window and what it looks like are tst_display's.
void testPlay() {
    row = "play";
    const std::wstring at = folder("abc");
    Game game(at);
    HWND main = game.window(L"frmMain");
    auto letter = [&](char c) { return control(main, Id::CMD_ALPHA, c - 'a'); };
    HWND word = control(main, Id::WORD_LABEL);
    HWND result = control(main, Id::RESULT_LABEL);
    HWND gallows = control(main, Id::HUNG_PICT);
    HWND reset = control(main, Id::CMD_RESET);
    HWND announcer = ::GetDlgItem(main, win32::kAnnouncerId);
    click(letter('a'));
    click(letter('b'));
    check(text(word) == L"ab?" && !::IsWindowEnabled(letter('a')) && ::IsWindowEnabled(letter('c')),
          "found letters are shown and their buttons disabled");
    check(sawEvent(EVENT_OBJECT_LIVEREGIONCHANGED, announcer) &&
              text(announcer).starts_with(L"b found"),
          "a guess is announced");
    click(letter('c'));
    check(text(result) == L"You've got it !" && sawEvent(EVENT_SYSTEM_ALERT, result),
          "a win is shown and announced");

    click(reset);
    check(text(word) == L"???" && text(result) == L"LEFT10" && ::IsWindowEnabled(letter('a')) &&
              text(announcer).starts_with(L"New game"),
          "Reset & Start begins a new game");
    for (char c = 'd'; c < 'm'; ++c) {
        click(letter(c));
    }
    check(text(result) == L"LEFT 1" && text(gallows) == L"Gallows: 9 of 10 misses" &&
              sawEvent(EVENT_OBJECT_NAMECHANGE, gallows),
          "misses count down and the gallows is named anew");
    click(letter('m'));
    check(text(result) == L"You are hunged !" && text(word) == L"???" &&
              text(control(main, Id::ANSWER_LABEL)) == L"abc" &&
              sawEvent(EVENT_SYSTEM_ALERT, result),
          "the tenth miss loses and shows the answer");

    // Moved aside and back, so the folder ends as it was.
    ::MoveFileW((at + L"\\h_dat.txt").c_str(), (at + L" words").c_str());
    ::PostMessageW(reset, BM_CLICK, 0, 0);
    check(game.answer(main) == L"Data File Not exists.", "a word file gone at Reset & Start");
    ::MoveFileW((at + L" words").c_str(), (at + L"\\h_dat.txt").c_str());
}

// About: its texts and frame, and the system-information tool started by Alt+S from the path in
// the registry, or the message when no value leads to it.
void testAbout() {
    row = "About";
    Game game(folder("abc"));
    HWND main = game.window(L"frmMain");
    auto open = [&] {
        choose(main, Id::mnuHelpAbout);
        return game.window(L"frmAbout");
    };
    HWND about = open();
    const auto style = static_cast<DWORD>(::GetWindowLongW(about, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongW(about, GWL_EXSTYLE));
    check(text(about) == L"Vostrelのﾊﾞｰｼﾞｮﾝ情報" &&
              text(control(about, Id::lblTitle)) == L"Vostrel" &&
              text(control(about, Id::lblVersion)) == L"ﾊﾞｰｼﾞｮﾝ 1.0.0" &&
              text(control(about, Id::cmdSysInfo)) == L"ｼｽﾃﾑ情報(&S)...",
          "About's texts");
    check(::GetWindow(about, GW_OWNER) == main && (exStyle & WS_EX_APPWINDOW) == 0 &&
              (exStyle & WS_EX_DLGMODALFRAME) != 0 && (style & WS_SYSMENU) != 0 &&
              (style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0,
          "a fixed dialog frame with only Close, off the taskbar");
    check(!::IsWindowEnabled(main), "the game window takes no input while About is open");
    ::PostMessageW(about, WM_CLOSE, 0, 0);
    waitFor([&] { return !::IsWindow(about); });

    // The stand-in, and a program where a command line cut at the blank would find one.
    const std::wstring tool = work + L"\\with blank\\child.exe";
    ::CreateDirectoryW((work + L"\\with blank").c_str(), nullptr);
    ::CopyFileW(standIn.c_str(), tool.c_str(), FALSE);
    ::CopyFileW(standIn.c_str(), (work + L"\\with.exe").c_str(), FALSE);
    const wchar_t* const toolKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    setRegistry(HKEY_LOCAL_MACHINE, toolKey, L"PATH", REG_SZ, tool.c_str(),
                static_cast<DWORD>((tool.size() + 1) * sizeof(wchar_t)));
    about = open();
    ::PostMessageW(control(about, Id::cmdOK), WM_SYSKEYDOWN, 'S', KF_ALTDOWN << 16);  // Alt+S
    writeFile(tool + L".go", "");
    // The stand-in reports the window style it was given, its argument count, and that it was
    // not waited for.
    check(waitFor([&] { return exists(tool + L".ran"); }) && readFile(tool + L".ran") == "1 1 go" &&
              !exists(work + L"\\with.exe.ran"),
          "Alt+S starts exactly the program the registry names, shown normally, unwaited");
    setRegistry(HKEY_LOCAL_MACHINE, toolKey, L"PATH", REG_SZ, nullptr, 0);
    setRegistry(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO",
                REG_SZ, nullptr, 0);
    ::PostMessageW(control(about, Id::cmdSysInfo), BM_CLICK, 0, 0);
    check(game.window(L"#32770") != nullptr, "the message comes");
    ::PostMessageW(control(about, Id::cmdOK), BM_CLICK, 0, 0);  // About is disabled under it
    check(game.answer(about) == L"現時点ではｼｽﾃﾑ情報を使用できません" && ::IsWindowVisible(about),
          "with no tool to start, the message, and About stays open");
    ::PostMessageW(about, WM_CLOSE, 0, 0);
    check(waitFor([&] { return !::IsWindow(about) && ::IsWindowEnabled(main); }),
          "the frame's Close closes");
    choose(main, Id::mnuFileExit);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: tst_game_win32 <vostrel.exe> <stand-in program>\n");
        return 2;
    }
    program = windowsPath(argv[1]);
    standIn = windowsPath(argv[2]);
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    work = temp + std::wstring(L"vostrel game ") + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(work.c_str(), nullptr);
    setDpi(96);
    testPlay();
    testInstallations();
    testAbout();
    // The whole tree at once, as the shell deletes it.
    const std::wstring paths = work + L'\0';
    SHFILEOPSTRUCTW remove{nullptr,   FO_DELETE, paths.c_str(), nullptr,
                           FOF_NO_UI, FALSE,     nullptr,       nullptr};
    ::SHFileOperationW(&remove);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
