// The counter window of the real program, seen and driven from outside.
#include <gtest/gtest.h>

#include "driver.h"
#include "local_time.h"

namespace e2e {
namespace {

INT_PTR CALLBACK IgnoringDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class CounterWindow : public testing::Test {
  protected:
    void SetUp() override {
        StoreStartDate(2008, 6, 30);
        ASSERT_TRUE(m_program.Start());
        m_counter = m_program.WaitForReadyCounter();
        ASSERT_NE(m_counter, nullptr) << "the counter window did not appear";
    }

    // The window's texts equal the reading for the stored date at some second between
    // just before and just after they were read.
    void ExpectShowsReadingFor(const StoredDate& start) {
        const std::int64_t before = local_time::CurrentInstant();
        const CounterTexts shown = ReadCounter(m_counter);
        const std::int64_t after = local_time::CurrentInstant();
        bool matched = false;
        for (std::int64_t t = before - 1; t <= after && !matched; ++t) {
            matched = shown == TextsOf(ComputeReading(start, t));
        }
        EXPECT_TRUE(matched) << "shown: " << testing::PrintToString(shown.values[0]) << " "
                             << testing::PrintToString(shown.values[6]) << "s; expected "
                             << testing::PrintToString(
                                    TextsOf(ComputeReading(start, after)).values[0]);
    }

    bool SecondsAdvance() {
        const std::wstring first = ControlText(m_counter, 1011);
        return WaitUntil([&] { return ControlText(m_counter, 1011) != first; });
    }

    TallyvaneProcess m_program;
    HWND m_counter = nullptr;
};

TEST_F(CounterWindow, ShowsTheStoredDateAndTicks) {
    wchar_t className[32] = L"";
    GetClassNameW(m_counter, className, 32);
    EXPECT_STREQ(className, L"#32770");
    EXPECT_EQ(ControlText(m_counter, 1001), L"Monday, June 30, 2008");
    ExpectShowsReadingFor({2008, 6, 30});
    EXPECT_TRUE(SecondsAdvance());
    for (int hidden : {1016, 1017, 1018, 1019}) {
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(m_counter, hidden))) << hidden;
    }
    EXPECT_EQ(ControlText(m_counter, 1019), L"Static");  // never written
}

TEST_F(CounterWindow, EnterEscExitAndCloseOnlyHide) {
    const struct {
        const char* what;
        std::function<void()> act;
    } ways[] = {
        {"Enter", [&] { PostMessageW(m_counter, WM_KEYDOWN, VK_RETURN, 0); }},
        {"Esc", [&] { PostMessageW(m_counter, WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"Exit button", [&] { PostMessageW(GetDlgItem(m_counter, IDOK), BM_CLICK, 0, 0); }},
        {"close button", [&] { PostMessageW(m_counter, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        PostTrayMouse(m_counter, WM_LBUTTONDOWN);  // a click on the icon shows it again
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(m_counter) != FALSE; }));
        way.act();
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(m_counter); }));
        EXPECT_TRUE(m_program.Running());
        EXPECT_TRUE(SecondsAdvance()) << "the counter stopped while hidden";
    }
}

TEST_F(CounterWindow, ASecondCopyWakesTheFirstAndEnds) {
    PostMessageW(m_counter, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(m_counter); }));

    TallyvaneProcess second;
    ASSERT_TRUE(second.Start());
    DWORD exitCode = 99;
    EXPECT_TRUE(second.WaitForExit(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FindCounterWindow(second.Id()), nullptr) << "the second copy opened a window";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(m_counter) != FALSE; }));
    // On top: no visible top-level window above it.
    for (HWND above = GetWindow(m_counter, GW_HWNDPREV); above != nullptr;
         above = GetWindow(above, GW_HWNDPREV)) {
        EXPECT_FALSE(IsWindowVisible(above)) << "a visible window is above the counter";
    }

    // Minimised, it is shown as it is: it stays minimised.
    PostMessageW(m_counter, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(m_counter) != FALSE; }));
    TallyvaneProcess third;
    ASSERT_TRUE(third.Start());
    EXPECT_TRUE(third.WaitForExit(exitCode));
    EXPECT_TRUE(IsIconic(m_counter));
    EXPECT_TRUE(IsWindowVisible(m_counter));
}

TEST_F(CounterWindow, FollowsTheStoreAtTheNextTick) {
    StoreStartDate(2001, 2, 3);
    EXPECT_TRUE(
        WaitUntil([&] { return ControlText(m_counter, 1001) == L"Saturday, February 03, 2001"; }));

    StoreStartDate(2008, 13, 1);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(m_counter, 1001) == L"Invalid DateTime"; }));
    EXPECT_TRUE(SecondsAdvance()) << "an invalid date stopped the counter";
    ExpectShowsReadingFor({2008, 13, 1});

    DeleteStartDateKey();
    EXPECT_TRUE(
        WaitUntil([&] { return ControlText(m_counter, 1001) == L"Thursday, January 01, 1970"; }));
    EXPECT_TRUE(SecondsAdvance());
    ExpectShowsReadingFor({1970, 1, 1});
}

TEST_F(CounterWindow, ControlsSitWhereTheTemplatePutsThem) {
    // The template's rectangles in dialog units, children in template order.
    struct Control {
        int id;
        int x, y, width, height;
    };
    const Control controls[] = {
        {1, 351, 179, 50, 16},    {57670, 351, 159, 50, 16}, {57671, 351, 139, 50, 16},
        {-1, 125, 26, 147, 27},   {-1, 17, 32, 91, 123},     {1001, 136, 38, 122, 8},
        {-1, 125, 60, 215, 115},  {1004, 136, 72, 39, 10},   {1005, 136, 88, 39, 10},
        {1006, 136, 104, 39, 10}, {1007, 136, 152, 39, 10},  {1014, 199, 72, 19, 8},
        {1011, 199, 152, 19, 8},  {1015, 199, 88, 19, 8},    {1008, 199, 104, 19, 8},
        {1009, 136, 136, 39, 10}, {1010, 199, 136, 19, 8},   {1012, 136, 120, 39, 10},
        {1013, 199, 120, 19, 8},  {1016, 19, 171, 39, 10},   {1017, 22, 186, 59, 10},
        {1018, 19, 181, 75, 15},  {1019, 23, 169, 69, 8},
    };
    // Dialog units map to pixels through the dialog's font; a dialog made here from the
    // program's own template has the same font, and MapDialogRect works on it.
    HMODULE program = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HWND sameTemplate =
        CreateDialogParamW(program, MAKEINTRESOURCEW(102), nullptr, IgnoringDialogProc, 0);
    ASSERT_NE(sameTemplate, nullptr);
    ShowWindow(sameTemplate, SW_HIDE);

    HWND child = GetWindow(m_counter, GW_CHILD);
    for (const Control& control : controls) {
        ASSERT_NE(child, nullptr) << "fewer controls than the template has";
        EXPECT_EQ(GetDlgCtrlID(child), control.id) << "template order";
        // The dialog manager scales position and size each on its own.
        RECT position = {control.x, control.y, control.width, control.height};
        MapDialogRect(sameTemplate, &position);
        const RECT expected = {position.left, position.top, position.left + position.right,
                               position.top + position.bottom};
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, m_counter, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << control.id;
        EXPECT_EQ(actual.top, expected.top) << control.id;
        if (&control != &controls[4]) {  // the picture takes the bitmap's own size
            EXPECT_EQ(actual.right, expected.right) << control.id;
            EXPECT_EQ(actual.bottom, expected.bottom) << control.id;
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than the template has";
    DestroyWindow(sameTemplate);
    FreeLibrary(program);
}

TEST_F(CounterWindow, HelpShowsTheHelpBox) {
    PostMessageW(GetDlgItem(m_counter, 57670), BM_CLICK, 0, 0);
    HWND help = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        help = FindProcessWindow(m_program.Id(), L"#32770", L"Tallyvane Help");
        return help != nullptr && IsWindowVisible(help);
    }));
    EXPECT_FALSE(IsWindowEnabled(m_counter)) << "the help box should be modal";
    std::wstring text;
    for (HWND c = GetWindow(help, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t part[1024] = L"";
        GetWindowTextW(c, part, 1024);
        text += part;
    }
    EXPECT_NE(text.find(L"365"), std::wstring::npos) << testing::PrintToString(text);
    EXPECT_NE(text.find(L"Options"), std::wstring::npos);
    PostMessageW(help, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(help); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(m_counter) != FALSE; }));
}

}  // namespace
}  // namespace e2e
