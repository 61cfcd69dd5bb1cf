// The Windows implementations of the system services against the real system (Wine's, in the
// build): what its registry hands over, which files count as normal and are read, and how ANSI
// text and environment references come out. Starting a program is played through the game.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/WinText.h"
#include "services/AnsiText.h"
#include "services/FileSystem.h"
#include "services/Registry.h"

namespace {

using vostrel::narrow;
using vostrel::ReadStatus;
using vostrel::widen;

int passed = 0;
int failed = 0;

void check(bool ok, const std::string& what) {
    ok ? ++passed : ++failed;
    if (!ok) {
        std::printf("FAIL: %s\n", what.c_str());
    }
}

void writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

// What the registry hands over through the ANSI functions: sizes with or without terminator, the
// buffer's edge, numbers, unexpanded strings, absent values.
void testRegistry() {
    const vostrel::Registry& registry = vostrel::systemRegistry();
    const char* const key = "Software\\VostrelTest";
    check(reinterpret_cast<vostrel::RegKey>(HKEY_LOCAL_MACHINE) == vostrel::kHkeyLocalMachine,
          "the local machine's key handle");
    struct Row {
        const char* tag;
        DWORD type;
        std::string stored;
        vostrel::RegStatus status;
        std::string read;  // the bytes handed over; the buffer is left alone on failure
    };
    const std::string full(1024, 'x');
    const std::vector<Row> rows = {
        {"string", REG_SZ, std::string("C:\\x.exe\0", 9), 0, std::string("C:\\x.exe\0", 9)},
        {"1,024 bytes fill the buffer", REG_BINARY, full, 0, full},
        {"1,025 bytes do not fit", REG_BINARY, full + "y", vostrel::kErrorMoreData, ""},
        {"no data at all", REG_SZ, "", 0, ""},
        {"number, least significant byte first", REG_DWORD, std::string("\x05\x01\x00\x00", 4), 0,
         std::string("\x05\x01\x00\x00", 4)},
        {"expandable string stays unexpanded", REG_EXPAND_SZ, std::string("%TEMP%\0", 7), 0,
         std::string("%TEMP%\0", 7)},
        {"absent", 0, "", vostrel::kErrorFileNotFound, ""},
    };
    for (const Row& row : rows) {
        HKEY writable = nullptr;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &writable,
                          nullptr);
        ::RegDeleteValueA(writable, "Value");
        if (row.type != 0) {
            ::RegSetValueExA(writable, "Value", 0, row.type,
                             reinterpret_cast<const BYTE*>(row.stored.data()),
                             static_cast<DWORD>(row.stored.size()));
        }
        ::RegCloseKey(writable);
        vostrel::RegKey opened = 0;
        // The rights the launcher asks for; names are not case-sensitive.
        check(registry.openKey(reinterpret_cast<vostrel::RegKey>(HKEY_CURRENT_USER),
                               "SOFTWARE\\vostreltest", 0, 0x2003F, &opened) == 0,
              std::string(row.tag) + ": open");
        std::string buffer(1024, '\0');
        std::uint32_t type = 0;
        std::uint32_t size = 1024;
        const vostrel::RegStatus status = registry.queryValue(
            opened, "VALUE", &type, reinterpret_cast<unsigned char*>(buffer.data()), &size);
        registry.closeKey(opened);
        check(status == row.status, std::string(row.tag) + ": status");
        check(status != 0 || (type == row.type && buffer.substr(0, size) == row.read),
              std::string(row.tag) + ": type and data");
        check(status == 0 || buffer == std::string(1024, '\0'), std::string(row.tag) + ": buffer");
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, key);
    vostrel::RegKey opened = 0;
    check(registry.openKey(reinterpret_cast<vostrel::RegKey>(HKEY_CURRENT_USER), key, 0, 0x2003F,
                           &opened) == vostrel::kErrorFileNotFound,
          "an absent key");
}

void testText() {
    const vostrel::AnsiText& text = vostrel::systemAnsiText();
    if (::GetACP() == 1252) {
        check(text.toUtf8("Caf\xE9") == "Caf\xC3\xA9", "ANSI text becomes UTF-8");
    } else {
        std::printf("skipped the ANSI row: code page %u, not 1252\n", ::GetACP());
    }
    ::SetEnvironmentVariableW(L"VOSTREL_TEST", L"C:\\a b");
    check(text.expandEnvironment("%VOSTREL_TEST%\\\xC3\xA9\\%VOSTREL_NONE%") ==
              "C:\\a b\\\xC3\xA9\\%VOSTREL_NONE%",
          "environment references expand, UTF-8 and unknown names kept");
}

// Which files are normal and read whole, within a size limit and without blocking.
void testFiles(const std::string& folder) {
    const vostrel::FileSystem& files = vostrel::systemFileSystem();
    for (const char* name : {"\\file.txt", "\\hidden.txt", "\\system.txt", "\\held.txt"}) {
        writeFile(folder + name, "12345");
    }
    ::SetFileAttributesW(widen(folder + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesW(widen(folder + "\\system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
    ::CreateDirectoryW(widen(folder + "\\sub folder").c_str(), nullptr);
    HANDLE held = ::CreateFileW(widen(folder + "\\held.txt").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    struct Row {
        std::string path;
        std::size_t limit;
        bool normal;
        ReadStatus status;
    };
    const std::vector<Row> rows = {
        {folder + "\\file.txt", 5, true, ReadStatus::Ok},
        {folder + "\\file.txt", 4, true, ReadStatus::TooLarge},
        {folder + "\\hidden.txt", 5, false, ReadStatus::NotRegular},
        {folder + "\\system.txt", 5, false, ReadStatus::NotRegular},
        {folder + "\\sub folder", 5, false, ReadStatus::NotRegular},
        {folder + "\\none.txt", 5, false, ReadStatus::NotRegular},
        {folder + "\\held.txt", 5, true, ReadStatus::Failed},
        {"\\\\.\\NUL", 5, false, ReadStatus::NotRegular},
    };
    for (const Row& row : rows) {
        vostrel::FileBytes read(std::string_view("left from before"));
        const ReadStatus status = files.readRegularFile(row.path, row.limit, read);
        const std::string_view bytes = read.view();
        check(files.isNormalFile(row.path) == row.normal, row.path + ": normal file");
        check(status == row.status && bytes == (status == ReadStatus::Ok ? "12345" : ""),
              row.path + ": read with a limit of " + std::to_string(row.limit));
    }
    ::CloseHandle(held);
    for (const char* name : {"\\file.txt", "\\hidden.txt", "\\system.txt", "\\held.txt"}) {
        ::SetFileAttributesW(widen(folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(widen(folder + name).c_str());
    }
    ::RemoveDirectoryW(widen(folder + "\\sub folder").c_str());
}

}  // namespace

int main() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::string folder =
        narrow(temp) + "vostrel test " + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryW(widen(folder).c_str(), nullptr);
    testRegistry();
    testText();
    testFiles(folder);
    ::RemoveDirectoryW(widen(folder).c_str());
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
