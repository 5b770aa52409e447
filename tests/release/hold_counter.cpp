// Makes the running Tallyvane a program that has stopped answering: every thread of the
// process behind its counter window suspended, so that it handles no message and does not end;
// or lets it go again. Ends with 0 once every thread has been held (or let go), 1 when there is
// no counter window or a thread could not be.
//   hold-counter hold|release
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>

#include "handles.h"

namespace {

// An imported function's address is no template argument.
inline BOOL WINAPI CloseKernelHandle(HANDLE handle) {
    return CloseHandle(handle);
}
using OwnedHandle = framework::Owned<HANDLE, CloseKernelHandle>;

// Suspends or resumes each thread of the process once; the number of threads it did.
int ForEachThread(DWORD processId, bool hold) {
    OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (snapshot.Get() == INVALID_HANDLE_VALUE) return snapshot.Detach(), 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int done = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more;
         more = Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        OwnedHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
        if (thread.Get() == nullptr) return -1;
        if ((hold ? SuspendThread(thread.Get()) : ResumeThread(thread.Get())) == DWORD(-1))
            return -1;
        ++done;
    }
    return done;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool hold = argc == 2 && std::wcscmp(argv[1], L"hold") == 0;
    if (argc != 2 || (!hold && std::wcscmp(argv[1], L"release") != 0)) {
        std::fprintf(stderr, "usage: hold-counter hold|release\n");
        return 2;
    }
    const HWND counter = FindWindowW(L"#32770", L"Tallyvane");
    DWORD processId = 0;
    if (counter == nullptr || GetWindowThreadProcessId(counter, &processId) == 0) {
        std::fprintf(stderr, "hold-counter: no Tallyvane window\n");
        return 1;
    }
    if (ForEachThread(processId, hold) <= 0) {
        std::fprintf(stderr, "hold-counter: not every thread of process %lu was %s\n", processId,
                     hold ? "held" : "let go");
        return 1;
    }
    return 0;
}
