// A DLL that the planting test puts beside the program under the name of a system DLL.
// Whatever loads it, it adds a line to NAME.loaded beside itself, and does nothing more:
// "user32 start-up" when user32 loads it on its own as it starts, before any of the
// program's code runs (Wine's user32 loads uxtheme so; Windows' does not, and no program
// could prevent it), and "program" for every other load.
#include <windows.h>

namespace {

bool LoadedByUser32StartUp() {
    void* frames[62];
    const USHORT count = RtlCaptureStackBackTrace(0, 62, frames, nullptr);
    bool user32 = false;
    for (USHORT i = 0; i < count; ++i) {
        HMODULE module = nullptr;
        GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCWSTR>(frames[i]), &module);
        if (module == GetModuleHandleW(nullptr)) return false;
        user32 = user32 || module == GetModuleHandleW(L"user32.dll");
    }
    return user32;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    wchar_t marker[MAX_PATH + 8] = L"";
    if (reason != DLL_PROCESS_ATTACH || GetModuleFileNameW(instance, marker, MAX_PATH) >= MAX_PATH)
        return TRUE;
    HANDLE file = CreateFileW(lstrcatW(marker, L".loaded"), FILE_APPEND_DATA, FILE_SHARE_READ,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const char* who = LoadedByUser32StartUp() ? "user32 start-up\n" : "program\n";
    DWORD written = 0;
    WriteFile(file, who, static_cast<DWORD>(lstrlenA(who)), &written, nullptr);
    CloseHandle(file);
    return TRUE;
}
