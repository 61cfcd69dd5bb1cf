// Stands in for the system-information tool. Once told to go (by "<itself>.go" appearing, or
// after ten seconds without), it writes "<itself>.ran": the window style it was given, its
// argument count and whether it was told to go. A starter that waited for it would thus find
// "no-go" there.
#include <windows.h>

#include <string>

int main(int argc, char**) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring base = self;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoW(&startup);
    const int style = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;

    bool go = false;
    for (int i = 0; i < 200 && !go; ++i) {
        go = ::GetFileAttributesW((base + L".go").c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!go) {
            ::Sleep(50);
        }
    }
    const std::string report =
        std::to_string(style) + " " + std::to_string(argc) + (go ? " go" : " no-go");
    // Written aside and renamed, so the test never reads half a report.
    const std::wstring aside = base + L".tmp";
    HANDLE file = ::CreateFileW(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    ::WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    ::CloseHandle(file);
    return ::MoveFileExW(aside.c_str(), (base + L".ran").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0
                                                                                             : 1;
}
