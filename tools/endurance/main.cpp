// tallyvane-endurance: exercises a running Tallyvane from outside and reports its
// resources before and after. Opens and dismisses the tray menu MENUS times, and the
// options dialog and about box DIALOGS times each, or with --ticking SECONDS only
// lets it count for that long.
//   tallyvane-endurance [MENUS DIALOGS] | --ticking SECONDS
// USER and GDI object counts come from GetGuiResources, which Wine does not implement
// (it answers 0); memory, kernel handles and windows are what Wine can report.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "driver.h"

namespace {

struct Resources {
    DWORD userObjects, gdiObjects, kernelHandles;
    int windows;
    SIZE_T privateBytes, workingSet;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM context) {
    auto* counting = reinterpret_cast<std::pair<DWORD, int>*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == counting->first) ++counting->second;
    return TRUE;
}

Resources Measure(HANDLE process, DWORD processId) {
    Resources r{};
    r.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    r.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    GetProcessHandleCount(process, &r.kernelHandles);
    std::pair<DWORD, int> counting{processId, 0};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&counting));
    r.windows = counting.second;
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    r.privateBytes = memory.PagefileUsage;
    r.workingSet = memory.WorkingSetSize;
    return r;
}

void Report(const char* when, const Resources& r) {
    std::printf(
        "%-7s USER %lu  GDI %lu  kernel handles %lu  windows %d  private %llu KiB  "
        "working set %llu KiB\n",
        when, r.userObjects, r.gdiObjects, r.kernelHandles, r.windows,
        static_cast<unsigned long long>(r.privateBytes / 1024),
        static_cast<unsigned long long>(r.workingSet / 1024));
}

bool OpenAndClose(HWND counter, DWORD processId, const wchar_t* title, void (*open)(HWND)) {
    open(counter);
    HWND dialog = nullptr;
    if (!e2e::WaitUntil([&] {
            return (dialog = e2e::FindProcessWindow(processId, L"#32770", title)) != nullptr;
        })) {
        return false;
    }
    e2e::PressKey(dialog, VK_ESCAPE);
    return e2e::WaitUntil([&] { return !IsWindow(dialog); });
}

}  // namespace

int main(int argc, char** argv) {
    HWND counter = FindWindowW(L"#32770", L"Tallyvane");
    if (counter == nullptr) {
        std::fprintf(stderr, "tallyvane-endurance: Tallyvane is not running\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(counter, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) return 1;

    const Resources before = Measure(process, processId);
    Report("before", before);
    if (argc == 3 && std::strcmp(argv[1], "--ticking") == 0) {
        std::this_thread::sleep_for(std::chrono::seconds(std::atoi(argv[2])));
    } else {
        const int menus = argc > 1 ? std::atoi(argv[1]) : 1000;
        const int dialogs = argc > 2 ? std::atoi(argv[2]) : 200;
        for (int i = 0; i < menus; ++i) {
            HWND menu = e2e::OpenTrayMenu(counter, processId);
            if (menu == nullptr) return 1;
            e2e::PressKey(menu, VK_ESCAPE);
            if (!e2e::WaitUntil([&] { return !IsWindowVisible(menu); })) return 1;
        }
        for (int i = 0; i < dialogs; ++i) {
            if (!OpenAndClose(counter, processId, L"Tallyvane Options",
                              [](HWND c) { e2e::ClickButton(c, 57671); }) ||
                !OpenAndClose(counter, processId, L"About Tallyvane",
                              [](HWND c) { PostMessageW(c, WM_SYSCOMMAND, 16, 0); })) {
                return 1;
            }
        }
        std::printf("%d tray menus, %d options dialogs and %d about boxes opened and closed\n",
                    menus, dialogs, dialogs);
    }
    const Resources after = Measure(process, processId);
    Report("after", after);
    CloseHandle(process);
    const bool grew = after.kernelHandles > before.kernelHandles ||
                      after.windows > before.windows || after.userObjects > before.userObjects ||
                      after.gdiObjects > before.gdiObjects;
    std::printf("%s\n", grew ? "GREW" : "no growth in handles, windows or objects");
    return grew ? 2 : 0;
}
