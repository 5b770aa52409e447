#include "system_dlls.h"

#include <string>

bool RestrictDllSearchToSystemFolder() {
    // Looked up, not imported: without it the program would not start on the Windows
    // versions that lack it.
    const auto setDefaultDllDirectories = FindExport<BOOL WINAPI(DWORD)>(
        GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDllDirectories != nullptr &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return true;
    }
    SetDllDirectoryW(L"");
    return false;
}

SystemLibrary::SystemLibrary(const wchar_t* name, bool restricted) {
    if (restricted) {
        m_hModule = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return;
    }
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    m_hModule = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemLibrary::~SystemLibrary() {
    if (m_hModule != nullptr) FreeLibrary(m_hModule);
}
