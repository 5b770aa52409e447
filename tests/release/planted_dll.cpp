// A DLL that the planting test puts beside the program under the name of a system DLL.
// Whatever loads it, it leaves a file NAME.loaded beside itself, and nothing more. Each
// load adds a line: "user32 start-up" when user32 loads it on its own while it starts,
// before any of the program's code runs (Wine's user32 loads uxtheme so; Windows' does
// not, and no program could prevent it), and "program" for every other load.
#include <windows.h>

namespace {

bool LoadedByUser32StartUp() {
    void* frames[62];
    const USHORT count = RtlCaptureStackBackTrace(0, 62, frames, nullptr);
    const HMODULE program = GetModuleHandleW(nullptr);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    bool user32OnStack = false;
    for (USHORT i = 0; i < count; ++i) {
        HMODULE module = nullptr;
        if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                    GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                static_cast<LPCWSTR>(frames[i]), &module)) {
            continue;
        }
        if (module == program) return false;
        if (module == user32) user32OnStack = true;
    }
    return user32OnStack;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t marker[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(instance, marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    lstrcpyW(marker + length, L".loaded");
    HANDLE file = CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    const char* who = LoadedByUser32StartUp() ? "user32 start-up\n" : "program\n";
    DWORD written = 0;
    WriteFile(file, who, static_cast<DWORD>(lstrlenA(who)), &written, nullptr);
    CloseHandle(file);
    return TRUE;
}
