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
#include "win_app.h"

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

// What this thread's hooks see of the counter window: its texts when the first timer
// message arrives (what it showed as it opened), its timer messages, the WM_NULL messages
// it gets, and whether its icon is still there once it has handled WM_DESTROY (Wine's tray
// removes the icons of a window once it is gone, but not before).
e2e::CounterTexts g_textsAtFirstTick;
std::atomic<std::int64_t> g_firstTickAt = 0;
std::atomic<int> g_nulls = 0, g_ticks = 0, g_retryTicks = 0;
std::atomic<bool> g_iconAfterDestroy = true;
LRESULT CALLBACK WatchCounter(int code, WPARAM wParam, LPARAM lParam) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the hook receives its message as an LPARAM
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->hwnd != nullptr &&
        message->hwnd == FindWindowW(L"#32770", L"Tallyvane")) {
        if (message->message == WM_NULL) ++g_nulls;
        if (message->message == WM_TIMER) ++g_ticks;
        if (message->message == WM_TIMER && message->wParam == 2) ++g_retryTicks;  // the icon's
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
        g_iconAfterDestroy = e2e::TrayIconShown(sent->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The shell, played by this process: a window of the notification area's class, found before
// the real one, that hands each request on to the real notification area but refuses the first
// adds, as a shell still starting at sign-in does, or holds every request past the caller's
// time-out, and then answers an add too late: taken, but refused as far as the caller knows.
// Wine's shell32 sends each request to the first such window, the action in the data's dwData.
std::atomic<int> g_addsToRefuse = 0, g_adds = 0, g_answeredYes = 0, g_slowAt = 0, g_heldTwice = 0;
std::atomic<bool> g_slowShell = false;
HWND g_realShell = nullptr;  // found before the busy one is made
LRESULT CALLBACK BusyShell(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcW(window, message, wParam, lParam);
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the message carries the data's address
    const bool add = reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData == NIM_ADD;
    g_adds += add ? 1 : 0;
    LRESULT taken =
        add && g_addsToRefuse-- > 0 ? FALSE : SendMessageW(g_realShell, message, wParam, lParam);
    if (g_slowShell) {  // a request at the retry right after a slow one holds the window again
        g_heldTwice += g_retryTicks - g_slowAt < 2 ? 1 : 0;
        g_slowAt = g_retryTicks.load();
        Sleep(1200);
        taken = add ? FALSE : taken;
    }
    g_answeredYes += taken != FALSE ? 1 : 0;
    return taken;
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

// A visible dialog with this title other than `other` (a message box over the dialog it names).
HWND WaitForDialog(const wchar_t* title, HWND other = nullptr) {
    HWND found = nullptr;
    WaitUntil([&] {  // a hidden button ignores a click
        found = FindWindowExW(nullptr, nullptr, L"#32770", title);
        if (found == other) found = FindWindowExW(nullptr, other, L"#32770", title);
        return IsWindowVisible(found) != FALSE;
    });
    return found;
}
// At sign-in the shell may refuse the icon for a while, or be slow: the window adds it again,
// every few seconds, until the shell takes it, and asks first whether an add that it thought
// refused was taken. A try that the shell kept waiting is followed by a try that asks nothing,
// so the window is never held at two retries in a row; Esc hides it while that add is unsure.
// Once the shell refuses every add, there is nowhere to hide the window to: a hidden one comes
// back, and Esc ends the program instead.
TEST(CounterDialog, IconAddedOnceTheShellTakesIt) {
    MemoryRegistry registry;
    DateStore store(registry);
    CCounterDlg counter(store);
    g_addsToRefuse = 3, g_slowShell = false, g_answeredYes = 0, g_adds = 0;
    g_retryTicks = 0, g_slowAt = -2, g_heldTwice = 0;
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
    const HHOOK hook =
        SetWindowsHookExW(WH_GETMESSAGE, WatchCounter, nullptr, GetCurrentThreadId());
    const INT_PTR result = RunModal(counter, [&] {
        const HWND window = WaitForDialog(L"Tallyvane");
        const auto addedAfter = [](int adds) {  // the last request answered as taken
            EXPECT_TRUE(WaitUntil([] { return g_answeredYes > 0; }, 40s))
                << "none taken after " << g_retryTicks << " retry ticks";
            EXPECT_EQ(g_adds, adds) << "adds asked of the shell";
        };
        addedAfter(4);
        // Slow from now on, as the taskbar comes anew without the icon.
        RemoveTrayIcon(window);
        g_answeredYes = 0, g_adds = 0, g_slowShell = true;
        PostMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        // Esc, handled right after the slow add, hides: the shell may yet show the icon.
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        addedAfter(1);
        EXPECT_EQ(g_heldTwice, 0) << "slow requests at two retries in a row";
        EXPECT_TRUE(e2e::TrayIconShown(window));
        EXPECT_TRUE(IsWindow(window) && !IsWindowVisible(window)) << "not hidden while unsure";
        // Every add refused while hidden: the window comes back, and Esc then ends it.
        RemoveTrayIcon(window);
        g_adds = 0, g_slowShell = false, g_addsToRefuse = 1000;
        PostMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; })) << "out of reach";
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); })) << "hidden into nowhere";
    });
    EXPECT_EQ(result, IDOK) << "not ended as Exit ends it";
    UnhookWindowsHookEx(hook);
    PostThreadMessageW(shellThread, WM_QUIT, 0, 0);  // its window goes with the thread
    shell.join();
}

// Sets the picker as the user would, its change notification included, and presses OK.
void ChooseAndPressOk(HWND dialog, WORD year, WORD month, WORD day) {
    const HWND picker = GetDlgItem(dialog, IDC_DATE_PICKER);
    NMDATETIMECHANGE change{{picker, IDC_DATE_PICKER, DTN_DATETIMECHANGE}, GDT_VALID, {}};
    change.st = {year, month, 0, day, 0, 0, 0, 0};
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&change.st));
    SendMessageW(dialog, WM_NOTIFY, IDC_DATE_PICKER, reinterpret_cast<LPARAM>(&change));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

// Options opened from the counter: a date changed only in its day is saved; a write refused
// halfway leaves the stored date, says so and keeps the dialog open; where putting back fails
// too, the message says what is stored now (what the first refusal left, a later one changed),
// or that it is no date at all, and the date stored before, chosen again, is saved. Exit from the
// tray menu while the failed save's message shows over Options ends both and the counter's
// run, saving nothing.
TEST(OptionsDialog, AFailedSaveChangesNothingOrSaysWhatItLeftAndExitEndsIt) {
    MemoryRegistry registry;
    DateStore store(registry);
    ASSERT_EQ(store.WriteStoredDate(2009, 6, 30), WriteResult::stored);
    CCounterDlg counter(store);
    framework::CWinApp app;  // whose main window owns the dialogs that it opens, as in the program
    app.m_pMainWnd = &counter;
    const INT_PTR result = RunModal(counter, [&] {
        const HWND window = WaitForDialog(L"Tallyvane");
        HWND dialog = nullptr;
        const auto choose = [&](WORD year, WORD month, WORD day) {  // in Options, opened if need be
            if (!IsWindow(dialog)) {
                PostMessageW(window, WM_COMMAND, ID_DEFAULT_HELP, 0);
                dialog = WaitForDialog(L"Tallyvane Options");
            }
            ChooseAndPressOk(dialog, year, month, day);
        };
        const auto closed = [&] { return WaitUntil([&] { return !IsWindow(dialog); }); };
        const auto message = [&] {  // the message box's text, closing it
            const HWND box = WaitForDialog(L"Tallyvane Options", dialog);
            const std::wstring text = e2e::ControlText(box, 0xFFFF);
            PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
            EXPECT_TRUE(IsWindow(dialog)) << "closed although nothing was saved";
            return text;
        };
        choose(2009, 6, 29);
        EXPECT_TRUE(closed());
        registry.RefuseChanges(L"Month");
        choose(2015, 2, 14);
        EXPECT_EQ(message(), kSaveFailedText);
        registry.RefuseChanges(L"Year", 1);  // the write goes, its undoing does not
        choose(2015, 2, 14);
        EXPECT_EQ(message(),
                  std::wstring(kSaveFailedText) + kNotPutBackText + L"Monday, June 29, 2015.");
        registry.AllowAllChanges(), registry.RefuseChanges(L"Month", 1),
            registry.RefuseChanges(L"Day");
        choose(2016, 2, 14);  // leaves 2015-2-29
        EXPECT_EQ(message(), std::wstring(kSaveFailedText) + kNotPutBackText + kNotADateText);
        registry.AllowAllChanges();
        choose(2009, 6, 29);
        EXPECT_TRUE(closed());
        registry.RefuseChanges(L"Day");
        choose(2015, 2, 14);
        ASSERT_NE(WaitForDialog(L"Tallyvane Options", dialog), nullptr);
        registry.AllowAllChanges();  // so that a save at Exit would show
        e2e::ChooseMenuItem(e2e::OpenTrayMenu(window, GetCurrentProcessId()), 1);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10s))
            << "Options or its message still open";
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(store.ReadStoredDate().year, 2009) << "saved at Exit, or the stored date not";
}

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
