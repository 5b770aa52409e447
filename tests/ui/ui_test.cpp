// The program's windows in process, on the in-memory registry: what cannot be seen from
// another process under Wine (menus, the icon record) and the failed save.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "counter_dlg.h"
#include "counter_texts.h"
#include "driver.h"
#include "handles.h"
#include "local_time.h"
#include "memory_registry.h"
#include "options_dlg.h"
#include "picture.h"
#include "resource.h"
#include "tray_icon.h"

namespace {

using Texts = std::vector<std::wstring>;

using e2e::WaitUntil;
using namespace std::chrono_literals;

// Runs the dialog modally on this thread while `script` acts on it from another. What a
// script that stopped early leaves open is ended, menus first. A watchdog that starts with
// the run fails the test by name when the run has not ended within a minute, even when
// the dialog's thread hangs and the script with it, instead of running on to CTest's limit.
INT_PTR RunModal(framework::CDialog& dialog, const std::function<void()>& script) {
    std::atomic<bool> returned = false;
    std::thread watchdog([&] {
        if (WaitUntil([&] { return returned.load(); }, 60s)) return;
        ADD_FAILURE() << testing::UnitTest::GetInstance()->current_test_info()->name()
                      << ": the modal run did not end within a minute";
        ExitProcess(1);
    });
    std::thread worker([&] {
        script();
        const auto open = [](const wchar_t* className) {
            return e2e::FindProcessWindow(GetCurrentProcessId(), className, nullptr);
        };
        WaitUntil([&] { return returned || open(L"#32770") == nullptr; }, 5s);
        for (int tries = 0; tries < 100 && !returned; ++tries, Sleep(50)) {
            if (HWND menu = open(L"#32768"); IsWindowVisible(menu))
                PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            else if (HWND left = open(L"#32770"))
                EndDialog(left, -2);
        }
    });
    const INT_PTR result = dialog.DoModal();
    returned = true;
    worker.join();
    watchdog.join();
    return result;
}

// A menu's item texts, "-" for a separator, and ids.
Texts MenuTexts(HMENU menu) {
    Texts texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        texts.emplace_back(std::wstring(text[0] ? text : L"-") + L"=" +
                           std::to_wstring(GetMenuItemID(menu, i)));
    }
    return texts;
}

// An icon's width in pixels.
LONG IconWidth(LRESULT handle) {
    ICONINFO info{};
    BITMAP mask{};
    if (!GetIconInfo(reinterpret_cast<HICON>(handle), &info)) return 0;
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    return mask.bmWidth;
}

// Whether the shell shows the window's icon (asked to change nothing of it).
bool IconShown(HWND window) {
    NOTIFYICONDATAW record = MakeTrayIconRecord(window, nullptr);
    record.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &record);
}

// What this thread's hooks see of the counter window: its texts when the first timer
// message arrives (what it showed as it opened), its timer messages, the WM_NULL messages
// it gets, and whether its icon is still there once it has handled WM_DESTROY (Wine's tray
// removes the icons of a window once it is gone, but not before).
e2e::CounterTexts g_textsAtFirstTick;
std::atomic<std::int64_t> g_firstTickAt = 0;
std::atomic<int> g_nulls = 0, g_ticks = 0;
std::atomic<bool> g_iconAfterDestroy = true;
LRESULT CALLBACK WatchCounter(int code, WPARAM wParam, LPARAM lParam) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the hook receives its message as an LPARAM
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->hwnd != nullptr &&
        message->hwnd == FindWindowW(L"#32770", L"Tallyvane")) {
        if (message->message == WM_NULL) ++g_nulls;
        if (message->message == WM_TIMER) ++g_ticks;
        if (message->message == WM_TIMER && g_firstTickAt == 0) {
            g_textsAtFirstTick = e2e::ReadCounter(message->hwnd);
            g_firstTickAt = local_time::CurrentInstant();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the hook receives its message as an LPARAM
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_DESTROY &&
        sent->hwnd == FindWindowW(L"#32770", L"Tallyvane")) {
        g_iconAfterDestroy = IconShown(sent->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The shell, played by this process as a shell still starting at sign-in plays it: a window of
// the notification area's class, found before the real one, that refuses the first adds and
// hands every other request on to the real notification area. Wine's shell32 sends each request
// to the first such window, the action in the data's dwData.
std::atomic<int> g_addsToRefuse = 0, g_addsRefused = 0;
HWND g_realShell = nullptr;  // found before the busy one is made
LRESULT CALLBACK BusyShell(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the message carries the data's address
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (message == WM_COPYDATA && data->dwData == NIM_ADD && g_addsToRefuse > 0)
        return --g_addsToRefuse, ++g_addsRefused, FALSE;
    if (message == WM_COPYDATA) return SendMessageW(g_realShell, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// The window opens showing the reading of the stored date, before its first tick, and
// refreshes ten times a second; its tray menus; once the tray menu is dismissed the window
// gets a message, so that the next right-click on the icon opens the menu instead of
// closing it; its icon goes as the window goes.
TEST(CounterDialog, ReadingMenusIconAndAMessageAfterTheTrayMenu) {
    MemoryRegistry registry;
    DateStore store(registry);
    ASSERT_EQ(store.WriteStoredDate(2008, 6, 30), WriteResult::stored);
    CCounterDlg counter(store);
    g_firstTickAt = 0, g_nulls = 0;
    const std::int64_t opened = local_time::CurrentInstant();
    const HHOOK hook =
        SetWindowsHookExW(WH_GETMESSAGE, WatchCounter, nullptr, GetCurrentThreadId());
    const HHOOK destroyHook =
        SetWindowsHookExW(WH_CALLWNDPROCRET, WatchDestroy, nullptr, GetCurrentThreadId());
    HWND window = nullptr;
    const auto trayMenu = [&] {
        const framework::PopupMenu menu;
        FillTrayMenu(menu.Get(), window);
        return MenuTexts(menu.Get());
    };
    const INT_PTR result = RunModal(counter, [&] {
        ASSERT_TRUE(WaitUntil([&] {
            return (window = FindWindowW(L"#32770", L"Tallyvane")) != nullptr &&
                   IsWindowVisible(window);
        }));
        // About ten a second, with room for a loaded machine: a period of 200 ms gives five.
        const int ticksBefore = g_ticks;
        const auto measuredFrom = std::chrono::steady_clock::now();
        Sleep(1500);
        const std::chrono::duration<double> measured =
            std::chrono::steady_clock::now() - measuredFrom;
        const double perSecond = (g_ticks - ticksBefore) / measured.count();
        EXPECT_TRUE(perSecond >= 7 && perSecond <= 13) << perSecond << " refreshes a second";
        const HWND menu = e2e::OpenTrayMenu(window, GetCurrentProcessId());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(g_nulls, 0) << "before the menu closed";
        // The system menu ends with a separator and About (Wine lets no other process read a
        // menu, so the keyboard scenario, which opens About as the last entry, cannot see it).
        const Texts system = MenuTexts(GetSystemMenu(window, FALSE));
        EXPECT_EQ(Texts(system.end() - 2, system.end()),
                  (Texts{L"-=0", L"&About Tallyvane...=16"}));
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(WaitUntil([] { return g_nulls > 0; }, 5s));
        // The tray menu offers Hide while the window is visible, even minimised, and Show
        // while it is hidden.
        EXPECT_EQ(trayMenu(), (Texts{L"Hide Tallyvane=2", L"Exit Tallyvane=3"}));
        // Moved to a monitor at 144 DPI (which Wine never sends): the window takes the
        // rectangle suggested, and the book and the icons are made again for that DPI.
        RECT suggested{40, 30, 960, 530}, frame{}, book{};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144),
                     reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(window, &frame);
        GetWindowRect(framework::FindPicture(window, IMAGE_BITMAP), &book);
        EXPECT_TRUE(EqualRect(&frame, &suggested))
            << frame.left << "," << frame.top << " " << frame.right << "," << frame.bottom;
        EXPECT_EQ(std::pair(book.right - book.left, book.bottom - book.top), std::pair(203L, 297L));
        EXPECT_EQ(IconWidth(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), 48);
        EXPECT_EQ(IconWidth(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)), 24);
        ShowWindow(window, SW_MINIMIZE);
        EXPECT_EQ(trayMenu(), (Texts{L"Hide Tallyvane=2", L"Exit Tallyvane=3"}));
        ShowWindow(window, SW_HIDE);
        EXPECT_EQ(trayMenu(), (Texts{L"Show Tallyvane=1", L"Exit Tallyvane=3"}));
        EXPECT_TRUE(WaitUntil([] { return g_firstTickAt != 0; })) << "no tick";
        EndDialog(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    UnhookWindowsHookEx(hook);
    UnhookWindowsHookEx(destroyHook);
    EXPECT_FALSE(g_iconAfterDestroy) << "the icon stays after the window";
    EXPECT_TRUE(ShowsReadingBetween(g_textsAtFirstTick, {2008, 6, 30}, opened, g_firstTickAt))
        << "before its first tick the window shows " << g_textsAtFirstTick[0].c_str();

    const NOTIFYICONDATAW record = MakeTrayIconRecord(GetDesktopWindow(), nullptr);
    EXPECT_EQ(record.cbSize,
              sizeof(void*) == 4 ? 152u : 168u);  // the first version: pointers differ
    EXPECT_EQ(record.uFlags, 7u);
    EXPECT_EQ(record.uCallbackMessage, 1135u);
    EXPECT_STREQ(record.szTip, L"Tallyvane");
    // The notification area shows the small-icon size.
    const framework::OwnedIcon trayIcon(MakeTrayIcon());
    EXPECT_EQ(IconWidth(reinterpret_cast<LRESULT>(trayIcon.Get())), GetSystemMetrics(SM_CXSMICON));
}

// At sign-in the shell may refuse the icon for a while: the window adds it again, every few
// seconds, until the shell takes it.
TEST(CounterDialog, IconAddedOnceTheShellTakesIt) {
    MemoryRegistry registry;
    DateStore store(registry);
    CCounterDlg counter(store);
    g_addsToRefuse = 3, g_addsRefused = 0;
    std::atomic<DWORD> shellThread = 0;
    std::thread shell([&] {  // topmost, it comes first in the search for the shell
        const WNDCLASSW kind{0,       BusyShell, 0,       0,       nullptr,
                             nullptr, nullptr,   nullptr, nullptr, L"Shell_TrayWnd"};
        RegisterClassW(&kind);
        g_realShell = FindWindowW(L"Shell_TrayWnd", nullptr);
        CreateWindowExW(WS_EX_TOPMOST, L"Shell_TrayWnd", nullptr, WS_POPUP, 0, 0, 0, 0, nullptr,
                        nullptr, nullptr, nullptr);
        shellThread = GetCurrentThreadId();
        for (MSG message; GetMessageW(&message, nullptr, 0, 0) > 0;) DispatchMessageW(&message);
    });
    ASSERT_TRUE(WaitUntil([&] { return shellThread != 0; }));
    RunModal(counter, [&] {
        HWND window = nullptr;
        EXPECT_TRUE(WaitUntil(
            [&] {
                window = FindWindowW(L"#32770", L"Tallyvane");
                return g_addsToRefuse == 0 && IconShown(window);
            },
            30s))
            << "no icon after " << g_addsRefused << " refused adds";
        EndDialog(window, IDOK);
    });
    PostThreadMessageW(shellThread, WM_QUIT, 0, 0);  // its window goes with the thread
    shell.join();
}

// A refused write says so and keeps the dialog open; nothing is stored.
TEST(OptionsDialog, FailedWriteIsShownAndTheDialogStays) {
    MemoryRegistry registry;
    registry.DenyWrites(kDateStoreKey);
    DateStore store(registry);
    COptions options(store);
    const INT_PTR result = RunModal(options, [] {
        HWND dialog = nullptr, box = nullptr;
        ASSERT_TRUE(WaitUntil([&] {  // a hidden button ignores a click
            dialog = FindWindowW(L"#32770", L"Tallyvane Options");
            return dialog != nullptr && IsWindowVisible(dialog);
        }));
        SYSTEMTIME chosen{2008, 6, 1, 30, 0, 0, 0, 0};  // a date chosen, to save
        SendDlgItemMessageW(dialog, IDC_DATE_PICKER, DTM_SETSYSTEMTIME, GDT_VALID,
                            reinterpret_cast<LPARAM>(&chosen));
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] {  // a second window with that title, above or below
            box = FindWindowExW(nullptr, nullptr, L"#32770", L"Tallyvane Options");
            if (box == dialog)
                box = FindWindowExW(nullptr, dialog, L"#32770", L"Tallyvane Options");
            return box != nullptr;
        }));
        wchar_t text[256] = L"";
        GetDlgItemTextW(box, 0xFFFF, text, 256);  // the message box's text
        EXPECT_STREQ(text, kSaveFailedText);
        PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        EXPECT_TRUE(IsWindow(dialog)) << "closed although nothing was saved";
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(registry.Inspect(kDateStoreKey)->values.empty());
}

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
