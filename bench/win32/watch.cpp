// Times the start of Windows programs from outside: each run starts a program, notes when its
// first top-level window is shown and when the program then waits for input, and closes it.
// The programs take turns, so a busy machine slows all of them alike. Printed for each: the
// medians, and the median of its times over the second program's in the same rounds, which
// holds better than the medians' ratio on a machine whose load changes.
// Usage: watch <runs> <program> ...
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Times {
    std::vector<double> shown;
    std::vector<double> ready;
    std::vector<double> memory;  // peak working set, MiB
};

double seconds(LARGE_INTEGER from) {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK findShown(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND shownWindow(DWORD process) {
    Search search{process, nullptr};
    ::EnumWindows(findShown, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool run(const std::wstring& program, Times& times) {
    const std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &process)) {
        return false;
    }
    HWND window = nullptr;
    while ((window = shownWindow(process.dwProcessId)) == nullptr &&
           ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT && seconds(start) < 30) {
        ::Sleep(1);  // a busy wait would take a core from the program it times
    }
    const double shown = seconds(start);
    ::WaitForInputIdle(process.hProcess, 30000);
    const double ready = seconds(start);
    PROCESS_MEMORY_COUNTERS memory{};
    ::GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    if (window != nullptr) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (window == nullptr) {
        return false;
    }
    times.shown.push_back(shown);
    times.ready.push_back(ready);
    times.memory.push_back(static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
    return true;
}

double median(std::vector<double> values) {
    std::erase_if(values, [](double value) { return std::isnan(value); });
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 != 0 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::printf("usage: watch <runs> <program> ...\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    std::vector<std::wstring> programs(argv + 2, argv + argc);
    std::vector<Times> times(programs.size());
    // One unrecorded start of each fills the caches.
    for (std::size_t i = 0; i < programs.size(); ++i) {
        Times warm;
        if (!run(programs[i], warm)) {
            std::printf("%ls showed no window\n", programs[i].c_str());
            return 1;
        }
    }
    // Each round starts with the next program, so none always follows the same one; and Wine is
    // given a moment to settle after each program ends.
    for (int r = 0; r < runs; ++r) {
        for (std::size_t k = 0; k < programs.size(); ++k) {
            const std::size_t i = (static_cast<std::size_t>(r) + k) % programs.size();
            if (!run(programs[i], times[i])) {
                times[i].shown.push_back(NAN);
                times[i].ready.push_back(NAN);
            }
            ::Sleep(100);
        }
    }
    const Times& second = times[std::min<std::size_t>(1, programs.size() - 1)];
    const auto against = [](const std::vector<double>& these, const std::vector<double>& those) {
        std::vector<double> ratios;
        for (std::size_t r = 0; r < these.size(); ++r) {
            ratios.push_back(these[r] / those[r]);
        }
        return median(ratios);
    };
    for (std::size_t i = 0; i < programs.size(); ++i) {
        std::printf("%.4f %.4f %.1f %.4f %.4f %ls\n", median(times[i].shown),
                    median(times[i].ready), median(times[i].memory),
                    against(times[i].shown, second.shown), against(times[i].ready, second.ready),
                    programs[i].c_str());
    }
    return 0;
}
