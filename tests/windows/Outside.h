#pragma once

// The game seen from another process in its Wine prefix, as the Windows tests drive it: its
// windows by class, its controls by the names the design gives them ("cmdOK", "CMD_ALPHA(3)").
// The program identifies its controls by their place in its definitions; the tests only find
// them by it.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>

#include "CommandIds.h"
#include "forms/Definitions.h"
#include "platform/WinText.h"

namespace outside {

namespace forms = vostrel::forms;

inline std::wstring windowsPath(const std::string& path) {
    std::wstring wide = vostrel::widen(path);
    wide = wide.starts_with(L"/") ? L"Z:" + wide : wide;  // Wine's drive for the host's root
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

// Runs this thread's messages, which bring the events it hooked, until `done` or 30 s have
// passed: another Wine process may take seconds to start on a busy machine.
inline bool waitFor(const std::function<bool()>& done) {
    for (int waited = 0; waited < 30000; waited += 10) {
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

inline std::string text(HWND window) {
    std::wstring buffer(4096, L'\0');
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]),
                          SMTO_ABORTIFHUNG, 30000, &length);
    return vostrel::narrow(buffer.substr(0, length));
}

inline std::string className(HWND window) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    return vostrel::narrow(name);
}

// A process's visible top-level window of a class ("#32770" for a message box), or null.
inline HWND topWindow(DWORD process, const wchar_t* windowClass) {
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, windowClass, nullptr));) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == process && ::IsWindowVisible(w)) {
            return w;
        }
    }
    return nullptr;
}

inline const forms::Form* formOf(HWND window) {
    const std::string name = className(window);
    return name == "frmMain"    ? &forms::mainForm()
           : name == "frmAbout" ? &forms::aboutForm()
                                : nullptr;
}

inline std::string nameOf(const forms::Control& control) {
    const std::string name = control.name;
    return control.index < 0 ? name : name + "(" + std::to_string(control.index) + ")";
}

// A control's name, or "" for any other window.
inline std::string nameOf(HWND control) {
    const forms::Form* form = formOf(::GetParent(control));
    const auto at =
        static_cast<std::size_t>(::GetDlgCtrlID(control) - vostrel::win32::kFirstControlId);
    return form != nullptr && at < form->controls.size() ? nameOf(form->controls[at]) : "";
}

inline HWND control(HWND window, const std::string& name) {
    const forms::Form* form = window != nullptr ? formOf(window) : nullptr;
    for (std::size_t i = 0; form != nullptr && i < form->controls.size(); ++i) {
        if (nameOf(form->controls[i]) == name) {
            return ::GetDlgItem(window, vostrel::win32::controlId(i));
        }
    }
    return nullptr;
}

// A menu item of the game window chosen, without waiting for what it opens.
inline void choose(HWND main, forms::Id item) {
    const auto& menu = forms::mainForm().menu;
    for (std::size_t i = 0; i < menu.size(); ++i) {
        if (menu[i].id == item) {
            ::PostMessageW(main, WM_COMMAND, vostrel::win32::menuId(i), 0);
        }
    }
}

// The program started in `folder`.
inline bool start(const std::wstring& program, const std::wstring& folder,
                  PROCESS_INFORMATION& process) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, folder.c_str(), &startup, &process) != FALSE;
}

}  // namespace outside
