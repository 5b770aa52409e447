// Makes the running Tallyvane a program that has stopped answering: the process behind its
// counter window suspended, every thread of it, so that it handles no message and does not end
// when asked; or lets it go again. Ends with 0 once done, 1 when there is no counter window or
// it could not be done.
//   hold-counter hold|release     (anything but hold lets it go)
#include <windows.h>

int main(int argc, char** argv) {
    const bool hold = argc > 1 && lstrcmpA(argv[1], "hold") == 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(FindWindowW(L"#32770", L"Tallyvane"), &processId);
    // ntdll's own, which suspends (or resumes) every thread of a process at once.
    using ProcessCall = NTSTATUS(NTAPI*)(HANDLE);
    const auto call = reinterpret_cast<ProcessCall>(reinterpret_cast<void (*)()>(GetProcAddress(
        GetModuleHandleW(L"ntdll.dll"), hold ? "NtSuspendProcess" : "NtResumeProcess")));
    const HANDLE process = OpenProcess(PROCESS_SUSPEND_RESUME, FALSE, processId);
    const bool done = process != nullptr && call != nullptr && call(process) >= 0;
    if (process != nullptr) CloseHandle(process);
    return done ? 0 : 1;
}
