// Plays the real vostrel.exe from outside under Wine's null graphics driver, where the display
// test does not look: what a screen reader hears, what every kind of spoilt installation shows,
// About's frame and modality, and the system-information tool started from the registry's path.
// Every game starts in a throwaway application folder and must end with exit code 0, leaving the
// folder as it found it.
// Usage: tst_game_win32 <vostrel.exe>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "Outside.h"

namespace {

namespace fs = std::filesystem;
using namespace outside;

int failed = 0;
std::string row;  // named in every failure
std::wstring program;
std::wstring work;  // everything the test makes lies in here

void check(bool ok, const std::string& what) {
    failed += ok ? 0 : 1;
    if (!ok) {
        std::printf("FAIL: %s: %s\n", row.c_str(), what.c_str());
    }
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A grey bitmap file `width` × `height`, whose header may claim another width: 4 bits a pixel
// with 16 colours as the game ships them, 16 or 32 bits in bit fields, or 24 bits with the
// oldest, 12-byte header.
std::string bmp(std::uint32_t width, std::uint32_t height, std::uint32_t bits = 4,
                std::uint32_t claimed = 0) {
    const bool core = bits == 24;
    const std::uint32_t size = (width * bits + 31) / 32 * 4 * height;
    const std::uint32_t offset = 14 + (core ? 12 : 40) + (bits == 4 ? 64 : core ? 0 : 12);
    std::string out = "BM";
    const auto put = [&](std::initializer_list<std::uint32_t> values, std::size_t bytes) {
        for (const std::uint32_t value : values) {
            out.append(reinterpret_cast<const char*>(&value), bytes);
        }
    };
    claimed = claimed != 0 ? claimed : width;
    put({offset + size, 0, offset}, 4);
    if (core) {
        put({12}, 4);
        put({claimed, height, 1, bits}, 2);
    } else {
        put({40, claimed, height, 1 | bits << 16, bits == 4 ? 0u : 3u, size, 2835, 2835,
             bits == 4 ? 16u : 0u, 0},
            4);
    }
    for (std::uint32_t colour = 0; colour < (bits == 4 ? 16 : 0); ++colour) {
        put({colour * 0x111111}, 4);
    }
    if (bits == 16 || bits == 32) {
        put(bits == 16 ? std::initializer_list<std::uint32_t>{0xF800, 0x7E0, 0x1F}
                       : std::initializer_list<std::uint32_t>{0xFF0000, 0xFF00, 0xFF},
            4);
    }
    return out + std::string(size, '\x12');
}

std::string randomBytes(std::size_t size) {
    std::mt19937 random(7);
    std::string bytes;
    std::generate_n(std::back_inserter(bytes), size, [&] { return static_cast<char>(random()); });
    return bytes;
}

// Names, sizes and times of what a folder holds, to tell that a run changed nothing.
std::string listing(const fs::path& folder) {
    std::string all;
    for (const auto& entry : fs::directory_iterator(folder)) {
        all += entry.path().filename().string() + " " +
               std::to_string(entry.is_regular_file() ? entry.file_size() : 0) + " " +
               std::to_string(entry.last_write_time().time_since_epoch().count()) + "\n";
    }
    return all;
}

// An application folder with a blank in its path: the program, eleven pictures 120 pixels square
// and the word file.
std::wstring folder(const std::string& words) {
    static int made = 0;
    const std::wstring path = work + L"\\app " + std::to_wstring(++made);
    fs::create_directory(path);
    fs::copy_file(program, path + L"\\vostrel.exe");
    for (int stage = 0; stage <= 10; ++stage) {
        writeFile(path + L"\\" + std::to_wstring(stage) + L".bmp", bmp(120, 120));
    }
    writeFile(path + L"\\h_dat.txt", words);
    return path;
}

std::vector<std::pair<DWORD, HWND>> events;

void CALLBACK noteEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG, DWORD, DWORD) {
    events.emplace_back(event, window);
}

bool sawEvent(DWORD event, HWND window) {
    return waitFor([&] {
        return std::find(events.begin(), events.end(), std::pair(event, window)) != events.end();
    });
}

void click(HWND button) {
    ::SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 30000, nullptr);
}

// The program started in an application folder, watched through the events a screen reader gets.
class Game {
public:
    explicit Game(const std::wstring& folder) : folder_(folder), before_(listing(folder)) {
        // Started from elsewhere: it finds its files beside itself.
        check(start(folder + L"\\vostrel.exe", work, process_), "the program starts");
        hook_ = ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, noteEvent, process_.dwProcessId, 0,
                                  WINEVENT_OUTOFCONTEXT);
        events.clear();
    }
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    ~Game() {
        ::UnhookWinEvent(hook_);
        if (::WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) {
            ::TerminateProcess(process_.hProcess, 1);
        }
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(process_.hProcess, &code);
        check(code == 0, "the program ends with exit code 0");
        check(listing(folder_) == before_, "the program wrote nothing in its folder");
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }

    // The program's window of a class, waited for unless `now`.
    [[nodiscard]] HWND window(const wchar_t* windowClass, bool now = false) const {
        HWND found = nullptr;
        const auto look = [&] {
            found = topWindow(process_.dwProcessId, windowClass);
            return found != nullptr || ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
        };
        now ? look() : waitFor(look);
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
    [[nodiscard]] std::string answer(HWND owner) const {
        HWND box = window(L"#32770");
        check(box != nullptr && text(box) == "Vostrel" && ::GetWindow(box, GW_OWNER) == owner &&
                  ::GetDlgItem(box, IDCANCEL) == nullptr,
              "a message box titled Vostrel with only OK, owned by the window that shows it");
        const std::string said = text(::GetDlgItem(box, 0xFFFF));
        ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        check(waitFor([&] { return !::IsWindow(box); }), "OK dismisses the message box");
        return said;
    }

private:
    std::wstring folder_;
    std::string before_;
    PROCESS_INFORMATION process_{};
    HWINEVENTHOOK hook_ = nullptr;
};

// Whatever lies in the application folder, the program shows the message Linux shows, before its
// window ever appears, or a playable game with the empty picture where a picture cannot be shown.
void testInstallations() {
    // What is done to the word file or the first picture: its bytes written, or it removed, made
    // a folder, made larger than its bytes, held open or given an attribute.
    enum Spoil { Write, Remove, Folder, Huge, Held, Hidden, System };
    struct Installation {
        const char* tag;
        bool picture;
        Spoil spoil;
        std::string bytes;
        const char* message;  // or null for a game, with a picture area this many pixels square
        int pictureSide;
    };
    const std::string words = "abc";
    const std::vector<Installation> rows = {
        {"no word file", false, Remove, "", "Data File Not exists.", 0},
        {"word file is a folder", false, Folder, "", "Data File Not exists.", 0},
        {"hidden word file", false, Hidden, words, "Data File Not exists.", 0},
        {"system word file", false, System, words, "Data File Not exists.", 0},
        {"empty word file", false, Write, "", "The word file holds no words.", 0},
        {"word file over 64 MiB", false, Huge, words,
         "The word file is too large to be a word list.", 0},
        {"word file held open by another program", false, Held, words,
         "The word file cannot be read.", 0},
        {"word file of exactly 64 MiB", false, Write,
         words + std::string(64 * 1024 * 1024 - 3, ' '), nullptr, 120},
        {"word file of random bytes", false, Write, randomBytes(65536), nullptr, 120},
        {"a word wider than the window", false, Write, std::string(64, 'w'), nullptr, 120},
        {"picture missing", true, Remove, "", nullptr, 200},
        {"picture of random bytes", true, Write, randomBytes(4096), nullptr, 200},
        {"picture of 2,049 pixels a side", true, Write, bmp(2049, 16), nullptr, 200},
        {"picture claiming 4,096 pixels a side", true, Write, bmp(120, 120, 4, 4096), nullptr, 200},
        {"picture cut short", true, Write, bmp(120, 120).substr(0, 500), nullptr, 200},
        {"picture of 16 bits in bit fields", true, Write, bmp(90, 90, 16), nullptr, 90},
        {"picture of 32 bits in bit fields", true, Write, bmp(90, 90, 32), nullptr, 90},
        {"picture with the oldest header", true, Write, bmp(90, 90, 24), nullptr, 90},
    };
    for (const Installation& installation : rows) {
        row = installation.tag;
        const std::wstring at = folder(words);
        const fs::path path = at + (installation.picture ? L"\\0.bmp" : L"\\h_dat.txt");
        const Spoil spoil = installation.spoil;
        fs::remove(path);
        if (spoil == Folder) {
            fs::create_directory(path);
        } else if (spoil != Remove) {
            writeFile(path, installation.bytes);
        }
        if (spoil == Huge) {
            fs::resize_file(path, 64 * 1024 * 1024 + 1);
        }
        if (spoil == Hidden || spoil == System) {
            ::SetFileAttributesW(path.c_str(),
                                 spoil == Hidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_SYSTEM);
        }
        HANDLE held = spoil == Held ? ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr,
                                                    OPEN_EXISTING, 0, nullptr)
                                    : nullptr;
        Game game(at);
        if (installation.message != nullptr) {
            check(game.answer(nullptr) == installation.message, "the message");
            check(game.window(L"frmMain", true) == nullptr, "the game window is never shown");
        } else {
            HWND main = game.window(L"frmMain");
            RECT area;
            ::GetClientRect(control(main, "HUNG_PICT"), &area);
            check(area.right == installation.pictureSide && area.bottom == installation.pictureSide,
                  "the picture area's size");
            RECT word;
            ::GetWindowRect(control(main, "WORD_LABEL"), &word);
            ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&word), 2);
            RECT client;
            ::GetClientRect(main, &client);
            check(!text(control(main, "WORD_LABEL")).empty() && word.left >= 0 &&
                      word.right <= client.right,
                  "a word to guess, inside the window");
            ::PostMessageW(main, WM_CLOSE, 0, 0);  // the frame's Close ends the program
        }
        if (held != nullptr) {
            ::CloseHandle(held);
        }
    }
}

// A won and a lost game as a screen reader meets them; then the word file gone at Reset & Start.
// What a player sees of them is the display test's.
void testPlay() {
    row = "play";
    const std::wstring at = folder("abc");
    Game game(at);
    HWND main = game.window(L"frmMain");
    const auto letter = [&](char c) {
        return control(main, "CMD_ALPHA(" + std::to_string(c - 'a') + ")");
    };
    HWND result = control(main, "RESULT_LABEL");
    HWND gallows = control(main, "HUNG_PICT");
    HWND announcer = ::GetDlgItem(main, vostrel::win32::kAnnouncerId);
    click(letter('a'));
    click(letter('b'));
    check(!::IsWindowEnabled(letter('a')) && ::IsWindowEnabled(letter('c')),
          "the buttons of found letters are disabled");
    check(sawEvent(EVENT_OBJECT_LIVEREGIONCHANGED, announcer) &&
              text(announcer).starts_with("b found"),
          "a guess is announced");
    click(letter('c'));
    check(sawEvent(EVENT_SYSTEM_ALERT, result), "a win is announced");
    click(control(main, "CMD_RESET"));
    check(text(announcer).starts_with("New game") && ::IsWindowEnabled(letter('a')),
          "Reset & Start begins a new game");
    for (char c = 'd'; c < 'm'; ++c) {
        click(letter(c));
    }
    check(text(gallows) == "Gallows: 9 of 10 misses" && sawEvent(EVENT_OBJECT_NAMECHANGE, gallows),
          "the gallows is named anew");
    events.clear();
    click(letter('m'));
    check(text(result) == "You are hunged !" && sawEvent(EVENT_SYSTEM_ALERT, result),
          "a loss is announced");

    // Moved aside and back, so the folder ends as it was.
    fs::rename(at + L"\\h_dat.txt", at + L" words");
    ::PostMessageW(control(main, "CMD_RESET"), BM_CLICK, 0, 0);
    check(game.answer(main) == "Data File Not exists.", "a word file gone at Reset & Start");
    fs::rename(at + L" words", at + L"\\h_dat.txt");
}

// About: the texts the design leaves to the program, its frame and modality, and the
// system-information tool its button starts from each kind of value the registry may lead to it
// by (a path, with environment references, in the ANSI code page, or the folder that holds it),
// or the message where none leads to it. The tool stands in a folder with a blank, beside a
// program a command line cut at the blank would start.
void testAbout(const std::wstring& standIn) {
    row = "About";
    const std::wstring tools = work + L"\\caf\u00e9 tools";
    fs::create_directory(tools);
    for (const std::wstring& copy : {tools + L"\\MSINFO32.EXE", work + L"\\caf\u00e9.exe"}) {
        fs::copy_file(standIn, copy);
    }
    ::SetEnvironmentVariableW(L"VOSTREL_TOOLS", tools.c_str());  // the game's environment
    const auto ansi = [](const std::wstring& text) {
        std::string bytes(MAX_PATH, '\0');
        bytes.resize(static_cast<std::size_t>(::WideCharToMultiByte(
            CP_ACP, 0, text.c_str(), -1, bytes.data(), MAX_PATH, nullptr, nullptr)));
        return bytes;  // with its NUL
    };
    const wchar_t* const toolKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const wchar_t* const folderKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";
    const struct {
        const char* tag;
        const wchar_t* key;
        const char* value;
        DWORD type;
        std::string data;
        bool starts;
    } ways[] = {
        {"a path", toolKey, "PATH", REG_SZ, ansi(tools + L"\\MSINFO32.EXE"), true},
        {"a path with references", toolKey, "PATH", REG_EXPAND_SZ,
         ansi(L"%VOSTREL_TOOLS%\\MSINFO32.EXE"), true},
        {"a path of another type", toolKey, "PATH", REG_BINARY, ansi(tools + L"\\MSINFO32.EXE"),
         false},
        {"its folder", folderKey, "MSINFO", REG_SZ, ansi(tools), true},
        {"nothing", folderKey, "MSINFO", 0, "", false},
    };

    Game game(folder("abc"));
    HWND main = game.window(L"frmMain");
    choose(main, forms::Id::mnuHelpAbout);
    HWND about = game.window(L"frmAbout");
    const auto style = static_cast<DWORD>(::GetWindowLongW(about, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongW(about, GWL_EXSTYLE));
    check(text(control(about, "lblTitle")) == "Vostrel" &&
              text(control(about, "lblVersion")) == "ﾊﾞｰｼﾞｮﾝ 1.0.0",
          "About's texts");
    check(::GetWindow(about, GW_OWNER) == main && (exStyle & WS_EX_APPWINDOW) == 0 &&
              (exStyle & WS_EX_DLGMODALFRAME) != 0 && (style & WS_SYSMENU) != 0 &&
              (style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0,
          "a fixed dialog frame with only Close, off the taskbar");
    check(!::IsWindowEnabled(main), "the game window takes no input while About is open");

    const std::wstring ran = tools + L"\\MSINFO32.EXE.ran";
    for (const auto& way : ways) {
        row = std::string("the tool by ") + way.tag;
        for (const wchar_t* key : {toolKey, folderKey}) {
            HKEY handle = nullptr;
            ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &handle, nullptr);
            ::RegDeleteValueW(handle, L"PATH");
            ::RegDeleteValueW(handle, L"MSINFO");
            if (way.key == key && way.type != 0) {
                ::RegSetValueExA(handle, way.value, 0, way.type,
                                 reinterpret_cast<const BYTE*>(way.data.data()),
                                 static_cast<DWORD>(way.data.size()));
            }
            ::RegCloseKey(handle);
        }
        ::PostMessageW(control(about, "cmdSysInfo"), BM_CLICK, 0, 0);
        if (way.starts) {
            // Told to go once the game answers again: a game that waited for the tool would not.
            ::SendMessageTimeoutW(about, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30000, nullptr);
            writeFile(tools + L"\\MSINFO32.EXE.go", "");
            std::string report;
            check(waitFor([&] { return fs::exists(ran); }) &&
                      std::getline(std::ifstream(fs::path(ran)), report) && report == "1 1 go" &&
                      !fs::exists(work + L"\\caf\u00e9.exe.ran"),
                  "it starts exactly that program, shown normally, unwaited");
            fs::remove(ran);
            fs::remove(tools + L"\\MSINFO32.EXE.go");
        } else {
            check(game.answer(about) == "現時点ではｼｽﾃﾑ情報を使用できません" &&
                      ::IsWindowVisible(about) && !fs::exists(ran),
                  "the message, and About stays open");
        }
    }
    ::PostMessageW(about, WM_CLOSE, 0, 0);
    check(waitFor([&] { return !::IsWindow(about) && ::IsWindowEnabled(main); }),
          "the frame's Close closes");
    choose(main, forms::Id::mnuFileExit);
}

// Started with no arguments, as the game starts the tool, this program stands in for it: once
// told to go by "<itself>.go" appearing, or after 30 s without, it reports in "<itself>.ran" the
// window style it was given, its argument count and whether it was told to go. A starter that
// waited for it would thus find "no-go" there.
int standIn(int argc) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring base = self;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoW(&startup);
    const int style = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;
    const bool go = waitFor([&] { return fs::exists(base + L".go"); });
    // Written aside and renamed, so the test never reads half a report.
    writeFile(base + L".tmp",
              std::to_string(style) + " " + std::to_string(argc) + (go ? " go" : " no-go"));
    fs::rename(base + L".tmp", base + L".ran");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 1) {
        return standIn(argc);
    }
    program = windowsPath(argv[1]);
    // Wine gives out process numbers again: a folder a failed run left must not be in the way.
    work = (fs::temp_directory_path() / ("vostrel game " + std::to_string(::GetCurrentProcessId()) +
                                         " " + std::to_string(::GetTickCount64())))
               .wstring();
    fs::create_directory(work);
    testPlay();
    testInstallations();
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    testAbout(self);
    std::error_code ignored;  // a stand-in a failed run started may still hold its file
    fs::remove_all(work, ignored);
    std::printf("%d failed\n", failed);
    return failed == 0 ? 0 : 1;
}
