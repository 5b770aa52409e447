// The program's windows, in process, on the in-memory registry: what cannot be seen
// from another process under Wine (menus, the icon record, the options dialog's
// failure path).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "counter_dlg.h"
#include "handles.h"
#include "memory_registry.h"
#include "modal_script.h"
#include "options_dlg.h"
#include "resource.h"
#include "tray_icon.h"

namespace {

using ui_test::FindThreadWindow;
using ui_test::MenuTexts;
using ui_test::RunModal;
using Texts = std::vector<std::wstring>;

std::wstring ItemText(HWND dialog, int id) {
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

TEST(CounterDialog, SystemMenuTrayMenuAndFirstReading) {
    MemoryRegistry registry;
    DateStore store(registry);
    store.WriteStoredDate(2008, 6, 30);
    CCounterDlg counter(store);
    HWND window = nullptr;
    const INT_PTR result = RunModal(
        counter,
        {[&] { return (window = FindThreadWindow(L"#32770", L"Tallyvane")) != nullptr; },
         [&] {
             const Texts systemMenu = MenuTexts(GetSystemMenu(window, FALSE));
             EXPECT_GE(systemMenu.size(), 3u);
             if (systemMenu.size() >= 2) {
                 EXPECT_EQ(systemMenu[systemMenu.size() - 2], L"-");
                 EXPECT_EQ(systemMenu.back(), L"&About Tallyvane...");
                 HMENU menu = GetSystemMenu(window, FALSE);
                 EXPECT_EQ(GetMenuItemID(menu, GetMenuItemCount(menu) - 1), IDM_ABOUTBOX);
             }
             EXPECT_EQ(ItemText(window, IDC_START_DATE), L"Monday, June 30, 2008");
             EXPECT_NE(ItemText(window, IDC_TOTAL_DAYS), L"Static");
             EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_QUERYDRAGICON, 0, 0)),
                       LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)));
             return true;
         },
         [&] {
             // The tray menu offers Hide while the window is visible, even minimised...
             for (const bool minimised : {false, true}) {
                 if (minimised) ShowWindow(window, SW_MINIMIZE);
                 const framework::PopupMenu menu;
                 FillTrayMenu(menu.Get(), window);
                 EXPECT_EQ(MenuTexts(menu.Get()), (Texts{L"Hide Tallyvane", L"Exit Tallyvane"}));
             }
             // ...and Show while it is hidden.
             ShowWindow(window, SW_HIDE);
             const framework::PopupMenu menu;
             FillTrayMenu(menu.Get(), window);
             EXPECT_EQ(MenuTexts(menu.Get()), (Texts{L"Show Tallyvane", L"Exit Tallyvane"}));
             EXPECT_EQ(GetMenuItemID(menu.Get(), 0), static_cast<UINT>(kTrayShow));
             EXPECT_EQ(GetMenuItemID(menu.Get(), 1), static_cast<UINT>(kTrayExit));
             return true;
         },
         [&] {
             EndDialog(window, IDOK);
             return true;
         }});
    EXPECT_EQ(result, IDOK);
}

TEST(TrayIcon, RecordForAddingTheIcon) {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(icon, nullptr);
    const HWND owner = GetDesktopWindow();
    const NOTIFYICONDATAW record = MakeTrayIconRecord(owner, icon);
    EXPECT_EQ(record.cbSize, NOTIFYICONDATAW_V1_SIZE);
    EXPECT_EQ(record.hWnd, owner);
    EXPECT_EQ(record.uID, 2u);
    EXPECT_EQ(record.uFlags, 7u);
    EXPECT_EQ(record.uCallbackMessage, 1135u);
    EXPECT_EQ(record.hIcon, icon);
    EXPECT_STREQ(record.szTip, L"Tallyvane");
}

TEST(OptionsDialog, StatesItsClass) {
    MemoryRegistry registry;
    DateStore store(registry);
    const COptions options(store);
    EXPECT_STREQ(options.GetClassInfo().name, "COptions");
    ASSERT_NE(options.GetClassInfo().base, nullptr);
    EXPECT_STREQ(options.GetClassInfo().base->name, "CDialog");
    EXPECT_EQ(options.GetClassInfo().schema, 0xFFFFu);
}

// A refused write says so and keeps the dialog open; nothing is stored.
TEST(OptionsDialog, FailedWriteIsShownAndTheDialogStays) {
    MemoryRegistry registry;
    registry.DenyWrites(kDateStoreKey);
    DateStore store(registry);
    COptions options(store);
    HWND dialog = nullptr;
    HWND box = nullptr;
    const INT_PTR result = RunModal(
        options,
        {[&] { return (dialog = FindThreadWindow(L"#32770", L"Tallyvane Options")) != nullptr; },
         [&] {
             PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
             return true;
         },
         [&] {
             box = FindThreadWindow(L"#32770", L"Tallyvane Options", dialog);
             return box != nullptr;
         },
         [&] {
             std::wstring text;
             for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                 wchar_t part[256] = L"";
                 GetWindowTextW(c, part, 256);
                 text += part;
             }
             EXPECT_NE(text.find(kSaveFailedText), std::wstring::npos) << text.size();
             PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
             return true;
         },
         [&] { return !IsWindow(box); },
         [&] {
             EXPECT_TRUE(IsWindow(dialog)) << "the dialog closed although nothing was saved";
             PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
             return true;
         }});
    EXPECT_EQ(result, IDCANCEL);
    RegistryType type;
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(registry.GetValue(kDateStoreKey, L"Year", type, bytes));
}

// OK with the picker untouched saves the date it shows: today.
TEST(OptionsDialog, OkSavesTheDateThePickerShows) {
    MemoryRegistry registry;
    DateStore store(registry);
    COptions options(store);
    SYSTEMTIME today{};
    const INT_PTR result = RunModal(options, {[&] {
                                        HWND dialog =
                                            FindThreadWindow(L"#32770", L"Tallyvane Options");
                                        if (dialog == nullptr) return false;
                                        GetLocalTime(&today);
                                        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
                                        return true;
                                    }});
    EXPECT_EQ(result, IDOK);
    const StoredDate stored = store.ReadStoredDate();
    EXPECT_EQ(stored.year, today.wYear);
    EXPECT_EQ(stored.month, today.wMonth);
    EXPECT_EQ(stored.day, today.wDay);
}

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
