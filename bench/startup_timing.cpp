// Start-up time: from CreateProcess to a visible dialog with a given title, for programs
// started in turn, each many times (a benchmark, not a test). Each launch is ended by force
// once its window shows; the median of each program is printed.
//   startup_timing LAUNCHES TITLE PROGRAM[|ARGUMENTS]...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "driver.h"

namespace {

// Milliseconds to the window, or a negative number when it did not show within 30 s.
double TimeOneLaunch(std::wstring commandLine, const wchar_t* title) {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    double elapsed = -1;
    for (;;) {
        const HWND window = e2e::FindProcessWindow(process.dwProcessId, L"#32770", title);
        const bool shown = window != nullptr && IsWindowVisible(window);
        QueryPerformanceCounter(&now);
        const double ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        if (shown) elapsed = ms;
        if (shown || ms > 30000) break;
        Sleep(1);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Sleep(500);  // the next one starts on a settled desktop
    return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    const int launches = _wtoi(argv[1]);
    const wchar_t* title = argv[2];
    std::vector<std::vector<double>> times(static_cast<std::size_t>(argc - 3));
    for (int round = 0; round < launches; ++round) {
        for (std::size_t i = 0; i < times.size(); ++i) {
            std::wstring commandLine = argv[i + 3];
            std::replace(commandLine.begin(), commandLine.end(), L'|', L' ');
            const double ms = TimeOneLaunch(commandLine, title);
            if (ms < 0) {
                std::fwprintf(stderr, L"startup_timing: no window from %ls\n", argv[i + 3]);
                return 1;
            }
            times[i].push_back(ms);
        }
    }
    for (std::size_t i = 0; i < times.size(); ++i) {
        std::sort(times[i].begin(), times[i].end());
        std::wprintf(L"%-60ls median %.0f ms (%.0f to %.0f ms over %d launches)\n", argv[i + 3],
                     times[i][times[i].size() / 2], times[i].front(), times[i].back(), launches);
    }
    return 0;
}
