// tallyvane-look: watches a running Tallyvane from outside, as a person would. Prints
// which common controls it runs with (the DLL's path), then the eight texts its window
// shows once a second, and at the end closes the program through its notification-area
// menu. With --ready it only waits until the window is ready for input, and leaves it so.
//   tallyvane-look [SECONDS | --ready]     (default 10)
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "driver.h"

namespace {

void Print(const e2e::CounterTexts& texts) {
    for (std::size_t i = 0; i < 8; ++i) std::printf("%s%ls", i ? "\t" : "", texts[i].c_str());
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const bool onlyReady = argc > 1 && std::strcmp(argv[1], "--ready") == 0;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    HWND counter = nullptr;
    if (!e2e::WaitUntil(
            [&] { return (counter = FindWindowW(L"#32770", L"Tallyvane")) != nullptr; })) {
        std::fprintf(stderr, "tallyvane-look: no Tallyvane window appeared\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(counter, &processId);
    e2e::TallyvaneProcess program;
    if (!program.Attach(processId) || program.WaitForReadyCounter() == nullptr) {
        std::fprintf(stderr, "tallyvane-look: the window did not become ready\n");
        return 1;
    }
    if (onlyReady) return program.Detach(), 0;
    if (HANDLE process =
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId)) {
        HMODULE modules[256];
        DWORD size = 0;
        wchar_t path[MAX_PATH] = L"";
        EnumProcessModules(process, modules, sizeof modules, &size);
        for (DWORD i = 0; i < size / sizeof modules[0] && i < 256; ++i) {
            if (GetModuleBaseNameW(process, modules[i], path, MAX_PATH) &&
                lstrcmpiW(path, L"comctl32.dll") == 0 &&
                GetModuleFileNameExW(process, modules[i], path, MAX_PATH))
                std::printf("common controls: %ls\n", path);
        }
        CloseHandle(process);
    }
    for (int i = 0; i < seconds; ++i) {
        Print(e2e::ReadCounter(counter));
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    program.Stop();
    DWORD exitCode = 0;
    if (!program.WaitForExit(exitCode, std::chrono::seconds(10))) {
        std::fprintf(stderr, "tallyvane-look: the program did not end\n");
        return 1;
    }
    std::printf("ended\n");
    return 0;
}
