#include <windows.h>

#include "WinText.h"
#include "services/ProgramStart.h"

namespace vostrel {
namespace {

class WindowsProgramStart final : public ProgramStart {
public:
    bool start(const std::string& path, int windowStyle) const override {
        // The program is named on its own, so a path with blanks can never be read as a shorter
        // program followed by arguments; the quoted command line gives it the usual argv[0].
        const std::wstring program = widen(path);
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(windowStyle);
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &process)) {
            return false;
        }
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return true;
    }
};

}  // namespace

const ProgramStart& systemProgramStart() {
    static const WindowsProgramStart programs;
    return programs;
}

}  // namespace vostrel
