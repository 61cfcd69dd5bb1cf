// The Windows platform layer and the launcher against the real system (Wine's, in the build):
// its registry, its file attributes, its program start.
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "core/SysInfo.h"
#include "platform/FileSystem.h"
#include "platform/ProgramStart.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/WinText.h"

namespace {

int passed = 0;
int failed = 0;
// All waits for started programs together, so a start that never happens fails the run quickly.
int waitBudgetMs = 30000;

void check(bool ok, const std::string& what, const std::string& detail = {}) {
    if (ok) {
        ++passed;
        return;
    }
    ++failed;
    std::cout << "FAIL: " << what << (detail.empty() ? "" : ": " + detail) << "\n";
}

void checkEqual(const std::string& actual, const std::string& expected, const std::string& what) {
    check(actual == expected, what, "got \"" + actual + "\", expected \"" + expected + "\"");
}

using vostrel::narrow;
using vostrel::widen;

const char* const kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char* const kTestKey = "Software\\VostrelTest";
constexpr DWORD kAbsent = 0;

bool exists(const std::string& path) {
    return ::GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string readFile(const std::string& path) {
    HANDLE file = ::CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    char buffer[256] = {};
    DWORD got = 0;
    ::ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    ::CloseHandle(file);
    return std::string(buffer, got);
}

// Lets a started stand-in go and waits for its report, which it then removes.
std::string releaseAndWait(const std::string& program) {
    writeFile(program + ".go", "");
    const std::string report = program + ".ran";
    for (; waitBudgetMs > 0 && !exists(report); waitBudgetMs -= 50) {
        ::Sleep(50);
    }
    const std::string text = exists(report) ? readFile(report) : "nothing ran";
    ::DeleteFileW(widen(report).c_str());
    ::DeleteFileW(widen(program + ".go").c_str());
    return text;
}

// A registry value with exactly these bytes, terminator or not; kAbsent deletes it.
void setValue(HKEY root, const char* key, const char* name, DWORD type, const std::string& data) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS) {
        check(false, std::string("create key ") + key);
        return;
    }
    if (type == kAbsent) {
        ::RegDeleteValueA(handle, name);
    } else {
        check(::RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                               static_cast<DWORD>(data.size())) == ERROR_SUCCESS,
              std::string("write value ") + name);
    }
    ::RegCloseKey(handle);
}

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

std::string sz(const std::string& text) {
    return text + std::string(1, '\0');
}

struct Folder {
    std::string root;       // "<temp>\vostrel test <id>"
    std::string withBlank;  // root + "\with blank"
    std::string child;      // the stand-in, in the folder with a blank
    std::string tool;       // the stand-in again, as MSINFO32.EXE
};

Folder makeFolder() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring standIn = self;
    standIn = standIn.substr(0, standIn.find_last_of(L'\\') + 1) + L"sysinfo_child.exe";

    Folder folder;
    folder.root = narrow(temp) + "vostrel test " + std::to_string(::GetCurrentProcessId());
    folder.withBlank = folder.root + "\\with blank";
    folder.child = folder.withBlank + "\\child.exe";
    folder.tool = folder.withBlank + "\\MSINFO32.EXE";
    ::CreateDirectoryW(widen(folder.root).c_str(), nullptr);
    ::CreateDirectoryW(widen(folder.withBlank).c_str(), nullptr);
    // A program where an unquoted command line would find one: "...\with" + ".exe".
    for (const std::string& copy : {folder.child, folder.tool, folder.root + "\\with.exe"}) {
        check(::CopyFileW(standIn.c_str(), widen(copy).c_str(), FALSE) != 0, "copy " + copy);
    }
    return folder;
}

void removeFolder(const Folder& folder) {
    for (const char* name :
         {"\\with blank\\child.exe", "\\with blank\\MSINFO32.EXE", "\\with.exe",
          "\\with blank\\file.txt", "\\with blank\\hidden.txt", "\\with blank\\system.txt"}) {
        const std::wstring path = widen(folder.root + name);
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
    }
    ::RemoveDirectoryW(widen(folder.withBlank + "\\sub folder").c_str());
    ::RemoveDirectoryW(widen(folder.withBlank).c_str());
    ::RemoveDirectoryW(widen(folder.root).c_str());
}

void testGetKeyValue() {
    const auto root = reinterpret_cast<vostrel::RegKey>(HKEY_CURRENT_USER);
    check(reinterpret_cast<vostrel::RegKey>(HKEY_LOCAL_MACHINE) == vostrel::kHkeyLocalMachine,
          "the local machine's key handle");
    ::SetEnvironmentVariableW(L"VOSTREL_TEST", L"C:\\a b");
    const std::string a1023(1023, 'a');
    struct Row {
        const char* tag;
        DWORD type;
        std::string data;
        bool ok;
        std::string value;
    };
    std::vector<Row> rows = {
        {"string with terminator", REG_SZ, sz("C:\\Tools\\x.exe"), true, "C:\\Tools\\x.exe"},
        {"string written without terminator", REG_SZ, "C:\\Tools\\x.exe", true, "C:\\Tools\\x.exe"},
        {"only a terminator", REG_SZ, sz(""), true, ""},
        {"1,024 bytes with terminator", REG_SZ, sz(a1023), true, a1023},
        // The system stores and hands over every string with a terminator, so 1,024 characters
        // need 1,025 bytes; a number value keeps its bytes as written.
        {"1,024 characters", REG_SZ, a1023 + "b", false, ""},
        {"number of 1,024 bytes", REG_DWORD, std::string(1023, '\x12') + "\xAB", true,
         "&hAB" + repeated("12", 1023)},
        {"number of 1,025 bytes", REG_DWORD, std::string(1025, '\x12'), false, ""},
        {"number 05 01 00 00", REG_DWORD, std::string("\x05\x01\x00\x00", 4), true, "&h000105"},
        {"expandable string", REG_EXPAND_SZ, sz("%VOSTREL_TEST%\\x.exe"), true, "C:\\a b\\x.exe"},
        {"expandable string, unknown name", REG_EXPAND_SZ, sz("%VOSTREL_NONE%\\x.exe"), true,
         "%VOSTREL_NONE%\\x.exe"},
        {"binary", REG_BINARY, "C:\\x.exe", false, ""},
        {"multi-string", REG_MULTI_SZ, sz(sz("C:\\x.exe")), false, ""},
        {"string with no data", REG_SZ, "", false, ""},
        {"number with no data", REG_DWORD, "", false, ""},
        {"value absent", kAbsent, "", false, ""},
    };
    if (::GetACP() == 1252) {
        rows.push_back(
            {"string in the ANSI code page", REG_SZ, sz("C:\\Caf\xE9"), true, "C:\\Caf\xC3\xA9"});
    } else {
        std::cout << "skipped the ANSI row: code page " << ::GetACP() << ", not 1252\n";
    }
    for (const Row& row : rows) {
        setValue(HKEY_CURRENT_USER, kTestKey, "Value", row.type, row.data);
        std::string value = "left from before";
        const bool ok = vostrel::GetKeyValue(vostrel::systemRegistry(), vostrel::systemAnsiText(),
                                             root, kTestKey, "value", value);
        check(ok == row.ok, std::string(row.tag) + ": result");
        checkEqual(value, row.value, std::string(row.tag) + ": value");
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    std::string value = "left from before";
    check(!vostrel::GetKeyValue(vostrel::systemRegistry(), vostrel::systemAnsiText(), root,
                                kTestKey, "value", value) &&
              value.empty(),
          "key absent");
    checkEqual(vostrel::systemAnsiText().expandEnvironment("%VOSTREL_TEST%\\\xC3\xA9"),
               "C:\\a b\\\xC3\xA9", "expansion keeps UTF-8");
}

void testFileTest(const Folder& folder) {
    const std::string file = folder.withBlank + "\\file.txt";
    const std::string hidden = folder.withBlank + "\\hidden.txt";
    const std::string system = folder.withBlank + "\\system.txt";
    const std::string sub = folder.withBlank + "\\sub folder";
    writeFile(file, "x");
    writeFile(hidden, "x");
    writeFile(system, "x");
    ::SetFileAttributesW(widen(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesW(widen(system).c_str(), FILE_ATTRIBUTE_SYSTEM);
    ::CreateDirectoryW(widen(sub).c_str(), nullptr);
    const vostrel::FileSystem& files = vostrel::systemFileSystem();
    check(files.isNormalFile(file), "file test: a file");
    check(files.isNormalFile(folder.tool), "file test: a program");
    check(!files.isNormalFile(sub), "file test: a folder");
    check(!files.isNormalFile(hidden), "file test: a hidden file");
    check(!files.isNormalFile(system), "file test: a system file");
    check(!files.isNormalFile(folder.withBlank + "\\none.txt"), "file test: absent");
}

void testProgramStart(const Folder& folder) {
    const vostrel::ProgramStart& programs = vostrel::systemProgramStart();
    check(programs.start(folder.child, vostrel::kShowNormal), "start: program");
    // Style 1, one argument, and told to go only after start returned.
    checkEqual(releaseAndWait(folder.child), "1 1 go", "start: program in a folder with a blank");
    check(!exists(folder.root + "\\with.exe.ran"), "start: nothing else ran");
    check(!programs.start(folder.withBlank + "\\none.exe", vostrel::kShowNormal), "start: absent");
    check(!programs.start(folder.withBlank, vostrel::kShowNormal), "start: folder");
    check(!programs.start(folder.withBlank + "\\file.txt", vostrel::kShowNormal), "start: text");
    check(!programs.start("", vostrel::kShowNormal), "start: empty path");
}

void testStartSysInfo(const Folder& folder) {
    const vostrel::SysInfoServices system{vostrel::systemRegistry(), vostrel::systemAnsiText(),
                                          vostrel::systemFileSystem(),
                                          vostrel::systemProgramStart()};
    ::SetEnvironmentVariableW(L"VOSTREL_TEST", widen(folder.withBlank).c_str());
    const std::string none = folder.withBlank + "\\none.exe";
    const std::string empty = folder.root;  // holds no MSINFO32.EXE
    struct Row {
        const char* tag;
        DWORD pathType;
        std::string path;
        DWORD folderType;
        std::string folder;
        std::string started;  // the program expected to run, or empty for the message
    };
    const std::vector<Row> rows = {
        {"path names the tool", REG_SZ, sz(folder.child), REG_SZ, sz(folder.withBlank),
         folder.child},
        {"path without terminator", REG_SZ, folder.child, kAbsent, "", folder.child},
        {"path names a missing file", REG_SZ, sz(none), REG_SZ, sz(folder.withBlank), ""},
        {"path absent, folder holds the tool", kAbsent, "", REG_SZ, sz(folder.withBlank),
         folder.tool},
        {"path absent, folder lacks the tool", kAbsent, "", REG_SZ, sz(empty), ""},
        {"both absent", kAbsent, "", kAbsent, "", ""},
        {"expandable path", REG_EXPAND_SZ, sz("%VOSTREL_TEST%\\child.exe"), kAbsent, "",
         folder.child},
        {"path with no data", REG_SZ, "", REG_SZ, sz(folder.withBlank), folder.tool},
        {"path of another type", REG_BINARY, folder.child, REG_SZ, sz(folder.withBlank),
         folder.tool},
    };
    for (const Row& row : rows) {
        setValue(HKEY_LOCAL_MACHINE, kToolKey, "PATH", row.pathType, row.path);
        setValue(HKEY_LOCAL_MACHINE, kFolderKey, "MSINFO", row.folderType, row.folder);
        const bool started = vostrel::StartSysInfo(system) == vostrel::SysInfoResult::Started;
        check(started == !row.started.empty(), std::string(row.tag) + ": result");
        if (started && !row.started.empty()) {
            checkEqual(releaseAndWait(row.started), "1 1 go", std::string(row.tag) + ": ran");
        }
    }
    setValue(HKEY_LOCAL_MACHINE, kToolKey, "PATH", kAbsent, "");
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kFolderKey);
}

}  // namespace

int main() {
    std::cout << std::unitbuf;
    testGetKeyValue();
    const Folder folder = makeFolder();
    testFileTest(folder);
    testProgramStart(folder);
    testStartSysInfo(folder);
    removeFolder(folder);
    std::cout << passed << " passed, " << failed << " failed\n";
    return failed == 0 ? 0 : 1;
}
