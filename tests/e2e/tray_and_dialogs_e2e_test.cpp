// The notification-area icon and menu, the options dialog and the about box of the
// real program, driven from outside.
#include <gtest/gtest.h>

#include "driver.h"

namespace e2e {
namespace {

class Shell : public testing::Test {
  protected:
    void Start() {
        ASSERT_TRUE(m_program.Start());
        m_counter = m_program.WaitForReadyCounter();
        ASSERT_NE(m_counter, nullptr) << "the counter window did not appear";
    }
    void SetUp() override {
        StoreStartDate(2008, 6, 30);
        Start();
    }
    bool Visible() const { return IsWindowVisible(m_counter) != FALSE; }
    bool SecondsAdvance() const {
        const std::wstring first = ControlText(m_counter, 1011);
        return WaitUntil([&] { return ControlText(m_counter, 1011) != first; });
    }
    HWND WaitForDialog(const wchar_t* title) const {
        HWND dialog = nullptr;
        WaitUntil([&] {
            dialog = FindProcessWindow(m_program.Id(), L"#32770", title);
            return dialog != nullptr && IsWindowVisible(dialog);
        });
        return dialog;
    }
    // Tab twice from OK, past Cancel, to the picker, and type the date there.
    static void EnterDate(HWND options, int year, int month, int day) {
        PressKey(options, VK_TAB);
        PressKey(options, VK_TAB);
        TypeDate(GetDlgItem(options, 1016), year, month, day);
    }
    // While a modal dialog is open the counter is disabled and keeps counting.
    void ExpectCounterBehindModal() const {
        EXPECT_FALSE(IsWindowEnabled(m_counter));
        EXPECT_TRUE(SecondsAdvance()) << "the counter stopped behind the dialog";
    }

    TallyvaneProcess m_program;
    HWND m_counter = nullptr;
};

TEST_F(Shell, TrayMenuShowsHidesAndExits) {
    EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(m_counter); }));

    HWND menu = OpenTrayMenu(m_counter, m_program.Id());  // visible: Hide, Exit
    ASSERT_NE(menu, nullptr);
    POINT cursor;
    GetCursorPos(&cursor);
    RECT frame;
    GetWindowRect(menu, &frame);
    EXPECT_EQ(frame.right, cursor.x) << "the menu opens with its bottom-right at the cursor";
    EXPECT_EQ(frame.bottom, cursor.y);
    ChooseMenuItem(menu, 0);
    EXPECT_TRUE(WaitUntil([&] { return !Visible(); }));

    menu = OpenTrayMenu(m_counter, m_program.Id());  // hidden: Show, Exit
    ASSERT_NE(menu, nullptr);
    ChooseMenuItem(menu, 0);
    EXPECT_TRUE(WaitUntil([&] { return Visible(); }));

    menu = OpenTrayMenu(m_counter, m_program.Id());  // dismissed: nothing changes
    ASSERT_NE(menu, nullptr);
    PressKey(menu, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
    EXPECT_TRUE(Visible());
    EXPECT_TRUE(m_program.Running());
    EXPECT_TRUE(SecondsAdvance());

    menu = OpenTrayMenu(m_counter, m_program.Id());
    ASSERT_NE(menu, nullptr);
    ChooseMenuItem(menu, 1);  // Exit
    DWORD exitCode = 99;
    EXPECT_TRUE(m_program.WaitForExit(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(TrayIconPresent(m_counter)) << "the icon outlived the program";
}

TEST_F(Shell, TrayClicksShowTheWindowAndLeaveAMinimisedOneMinimised) {
    for (const UINT click : {UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONDBLCLK}}) {
        PressKey(m_counter, VK_ESCAPE);
        ASSERT_TRUE(WaitUntil([&] { return !Visible(); }));
        PostTrayMouse(m_counter, click);
        EXPECT_TRUE(WaitUntil([&] { return Visible(); })) << click;
    }
    PostMessageW(m_counter, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(m_counter) != FALSE; }));
    PostTrayMouse(m_counter, WM_LBUTTONDOWN);
    PostTrayMouse(m_counter, WM_LBUTTONDBLCLK);
    PostTrayMouse(m_counter, WM_MOUSEMOVE);  // any other message does nothing
    EXPECT_TRUE(SecondsAdvance());
    EXPECT_TRUE(IsIconic(m_counter));
    EXPECT_TRUE(Visible());
}

TEST_F(Shell, IconComesBackWhenTheTaskbarIsRecreated) {
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(m_counter); }));
    DropTrayIcon(m_counter);  // as the shell's restart loses it
    ASSERT_FALSE(TrayIconPresent(m_counter));
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(m_counter); }));
}

TEST_F(Shell, OptionsSaveThePickedDateWithOrWithoutTheKey) {
    for (const bool keyExists : {false, true}) {
        SCOPED_TRACE(keyExists ? "key exists" : "no key");
        if (keyExists) {
            StoreStartDate(1999, 1, 1);
        } else {
            DeleteStartDateKey();
        }
        ClickButton(m_counter, 57671);
        HWND options = WaitForDialog(L"Tallyvane Options");
        ASSERT_NE(options, nullptr);
        ExpectCounterBehindModal();
        for (const int hidden : {1017, 1018, 1019, 1021, 1022, 1023}) {
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(options, hidden))) << hidden;
        }
        EnterDate(options, 2008, 6, 30);
        ClickButton(options, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(options); }));
        DWORD year = 0, month = 0, day = 0;
        EXPECT_TRUE(ReadStoredDwords(year, month, day));
        EXPECT_EQ(year, 2008u);
        EXPECT_EQ(month, 6u);
        EXPECT_EQ(day, 30u);
        EXPECT_TRUE(
            WaitUntil([&] { return ControlText(m_counter, 1001) == L"Monday, June 30, 2008"; }));
        EXPECT_TRUE(IsWindowEnabled(m_counter));
    }
}

TEST_F(Shell, OptionsCancelAndEscLeaveTheStore) {
    for (const bool escape : {false, true}) {
        StoreStartDate(1999, 1, 1);
        ClickButton(m_counter, 57671);
        HWND options = WaitForDialog(L"Tallyvane Options");
        ASSERT_NE(options, nullptr);
        EnterDate(options, 2008, 6, 30);
        if (escape) {
            PressKey(options, VK_ESCAPE);
        } else {
            ClickButton(options, IDCANCEL);
        }
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(options); })) << escape;
        DWORD year = 0, month = 0, day = 0;
        EXPECT_TRUE(ReadStoredDwords(year, month, day));
        EXPECT_EQ(year, 1999u);
        EXPECT_EQ(month, 1u);
        EXPECT_EQ(day, 1u);
    }
}

TEST_F(Shell, OptionsOkWithoutTouchingThePickerStoresTheDateItShows) {
    DeleteStartDateKey();
    ClickButton(m_counter, 57671);
    HWND options = WaitForDialog(L"Tallyvane Options");
    ASSERT_NE(options, nullptr);
    SYSTEMTIME today;
    GetLocalTime(&today);
    ClickButton(options, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }));
    DWORD year = 0, month = 0, day = 0;
    ASSERT_TRUE(ReadStoredDwords(year, month, day));
    EXPECT_EQ(year, today.wYear);
    EXPECT_EQ(month, today.wMonth);
    EXPECT_EQ(day, today.wDay);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(m_counter, 1011) != L""; }));
}

TEST_F(Shell, AboutBoxOpensFromTheSystemMenuAndCloses) {
    const struct {
        const char* how;
        void (*close)(HWND about);
    } ways[] = {
        {"OK", [](HWND about) { ClickButton(about, IDOK); }},
        {"Enter", [](HWND about) { PressKey(about, VK_RETURN); }},
        {"Esc", [](HWND about) { PressKey(about, VK_ESCAPE); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        PostMessageW(m_counter, WM_SYSCOMMAND, 16, 0);  // the system menu's About entry
        HWND about = WaitForDialog(L"About Tallyvane");
        ASSERT_NE(about, nullptr);
        ExpectCounterBehindModal();
        way.close(about);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(m_counter) != FALSE; }));
    }
}

}  // namespace
}  // namespace e2e
