// A DLL that the planting test puts beside the program under the name of a system DLL.
// Whatever loads it, it adds a line to NAME.loaded beside itself, and does nothing more:
// "start-up" when the system loaded it on its own before the program ran, "program" for
// every other load. Wine's user32 loads uxtheme by name as it starts, before any of the
// program's code runs; Windows' does not, and no program could prevent it.
#include <windows.h>

namespace {

// Loaded by name, not as anyone's import (whose DllMain gets a non-null `reserved`), before
// the program loaded the common controls (its first act), and with none of its code on the
// stack.
bool LoadedBeforeTheProgramRan(LPVOID reserved) {
    if (reserved != nullptr || GetModuleHandleW(L"comctl32.dll") != nullptr) return false;
    void* frames[62];
    const USHORT count = RtlCaptureStackBackTrace(0, 62, frames, nullptr);
    for (USHORT i = 0; i < count; ++i) {
        HMODULE module = nullptr;
        GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCWSTR>(frames[i]), &module);
        if (module == GetModuleHandleW(nullptr)) return false;
    }
    return true;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    wchar_t marker[MAX_PATH + 8] = L"";
    if (reason != DLL_PROCESS_ATTACH || GetModuleFileNameW(instance, marker, MAX_PATH) >= MAX_PATH)
        return TRUE;
    HANDLE file = CreateFileW(lstrcatW(marker, L".loaded"), FILE_APPEND_DATA, FILE_SHARE_READ,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const char* who = LoadedBeforeTheProgramRan(reserved) ? "start-up\n" : "program\n";
    DWORD written = 0;
    WriteFile(file, who, static_cast<DWORD>(lstrlenA(who)), &written, nullptr);
    CloseHandle(file);
    return TRUE;
}
