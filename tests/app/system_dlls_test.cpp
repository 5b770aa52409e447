// Restricting the DLL search: a DLL beside the program is no longer found by its name alone,
// and the common controls still come from the system folder.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "system_dlls.h"

namespace {

TEST(SystemDlls, ADllBesideTheProgramIsNotLoadedByName) {
    wchar_t program[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    std::wstring beside(program, length);
    beside.replace(beside.find_last_of(L'\\') + 1, std::wstring::npos, L"planted_dll.dll");
    ASSERT_NE(GetFileAttributesW(beside.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the test's own setup";

    ASSERT_TRUE(RestrictDllSearchToSystemFolder());
    EXPECT_EQ(LoadLibraryW(L"planted_dll.dll"), nullptr);
    const SystemLibrary controls(L"comctl32.dll", true);
    EXPECT_NE(controls.Find<decltype(InitCommonControlsEx)>("InitCommonControlsEx"), nullptr);
}

}  // namespace
