// The real Tallyvane.exe, started and driven from outside as a person would. Each
// scenario starts the program on the stored date 30 June 2008 and runs its steps in
// order: an action, or an observation that must come true within the deadline.
#include <windows.h>

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "counter_texts.h"
#include "driver.h"
#include "local_time.h"
#include "version.h"

namespace e2e {
namespace {

std::wstring g_program;  // the Windows path of the Tallyvane.exe under test
constexpr wchar_t kStoreKey[] = L"Software\\Quillmark";

// The start-date key, arranged and read from outside with the registry API.
void StoreStartDate(DWORD year, DWORD month, DWORD day) {
    for (const auto& [name, value] : {std::pair{L"Year", year}, {L"Month", month}, {L"Day", day}})
        RegSetKeyValueW(HKEY_CURRENT_USER, kStoreKey, name, REG_DWORD, &value, sizeof value);
}
void DeleteStartDateKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
}
// Every value the program could write, as "year-month-day"; "none" without the key, "?" for a
// value not there.
std::wstring StoredDate() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return L"none";
    std::wstring date;
    for (const wchar_t* name : {L"Year", L"Month", L"Day"}) {
        DWORD value = 0, size = sizeof value;
        date += (date.empty() ? L"" : L"-") +
                (RegGetValueW(key, nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == 0
                     ? std::to_wstring(value)
                     : L"?");
    }
    RegCloseKey(key);
    return date;
}

// What a screen reader reads of a window: the names of its visible controls in order (empty
// where a control has none), each from the control's own accessible object (made in this
// process, as assistive tools make it) and after a comma; * for the options' date picker
// (1016), which Wine names by its date, not by its label.
std::wstring ReadAloud(HWND window) {
    std::wstring names;
    VARIANT self{};
    self.vt = VT_I4;  // CHILDID_SELF
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        IAccessible* object = nullptr;
        BSTR name = nullptr;
        if (!IsWindowVisible(c) ||
            FAILED(AccessibleObjectFromWindow(c, DWORD(OBJID_CLIENT), IID_IAccessible,
                                              reinterpret_cast<void**>(&object))))
            continue;
        object->get_accName(self, &name);
        names += std::wstring(L",") + (GetDlgCtrlID(c) == 1016 ? L"*" : name ? name : L"");
        SysFreeString(name);
        object->Release();
    }
    return names;
}

struct Session {
    TallyvaneProcess program;
    HWND counter = nullptr;
    HWND dialog = nullptr;  // the dialog or menu opened last
    HWND cover = nullptr;   // a window of the test's own over the counter
    std::wstring seen;      // what the step read (shown when it fails)
    ~Session() { DestroyWindow(cover); }
};

// The store is read afresh at every tick: each change, made just after the window showed
// the last one, shows within half a second (the refresh period itself is checked in
// process). Twelve changes: one may be slow (a loaded machine), and every one must show.
bool FollowsTheStoreAtEveryTick(HWND counter) {
    int slow = 0;
    for (std::int32_t day = 1; day <= 12; ++day) {
        StoreStartDate(2001, 2, static_cast<DWORD>(day));
        const std::wstring date = ComputeReading({2001, 2, day}, 0).dateText;
        const auto shown = [&] { return ControlText(counter, 1001) == date; };
        if (!WaitUntil(shown, 500ms) && (++slow > 1 || !WaitUntil(shown))) return false;
    }
    return true;
}

bool Ticking(HWND counter) {  // the seconds change
    const std::wstring first = ControlText(counter, 1011);
    return WaitUntil([&] { return ControlText(counter, 1011) != first; });
}

// One step: a word, and after a colon its argument.
bool Perform(Session& s, const std::string& step) {
    const std::size_t colon = step.find(':');
    const std::string word = step.substr(0, colon),
                      arg = step.substr(std::min(colon, step.size() - 1) + 1);
    const std::wstring text(arg.begin(), arg.end());
    // clang-format off
    static const std::map<std::string, UINT> kNames = {  // keys, commands, mouse messages, ids
        {"enter", VK_RETURN}, {"esc", VK_ESCAPE}, {"tab", VK_TAB}, {"space", VK_SPACE},
        {"up", VK_UP}, {"alt", VK_MENU}, {"shift", VK_SHIFT}, {"down", VK_DOWN},
        {"right", VK_RIGHT}, {"ok", IDOK}, {"close", SC_CLOSE}, {"minimise", SC_MINIMIZE},
        {"left", WM_LBUTTONDOWN}, {"exit", IDOK}, {"double", WM_LBUTTONDBLCLK},
        {"move", WM_MOUSEMOVE}, {"cancel", IDCANCEL}, {"help", 57670}, {"options", 57671}};
    // clang-format on
    const auto named = kNames.find(arg);
    const UINT n =
        named != kNames.end() ? named->second : static_cast<UINT>(std::atoi(arg.c_str()));
    int y = 0, m = 0, d = 0;
    std::sscanf(arg.c_str(), "%d-%d-%d", &y, &m, &d);
    const HWND c = s.counter;
    const DWORD id = s.program.Id(), thread = GetWindowThreadProcessId(c, nullptr);
    // Actions.
    if (word == "dialog-key") return PressKey(s.dialog, n), true;
    if (word == "click") return ClickButton(c, static_cast<int>(n)), true;
    if (word == "dialog-click") return ClickButton(s.dialog, static_cast<int>(n)), true;
    // Keys as a person presses them, through the system's input to the focused control: first
    // the window they are for (the dialog found last while it shows, else the counter) must be
    // the foreground and hold the focus, as the keys go wherever the focus is as they arrive.
    // Chords apart (alt+o tab), the keys of each held in turn and let go in reverse.
    if (word == "press") {
        const HWND target = IsWindowVisible(s.dialog) ? s.dialog : c;
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        if (!WaitUntil([&] {
                return GetForegroundWindow() == target && GetGUIThreadInfo(thread, &gui) &&
                       (gui.hwndFocus == target || IsChild(target, gui.hwndFocus));
            }))
            return false;
        std::istringstream chords(arg);
        for (std::string chord; chords >> chord;) {
            std::vector<BYTE> held;
            std::istringstream names(chord);
            for (std::string key; std::getline(names, key, '+');)
                held.push_back(
                    BYTE(kNames.contains(key) ? kNames.at(key) : UINT(std::toupper(key[0]))));
            for (const BYTE key : held) keybd_event(key, 0, 0, 0);
            for (auto key = held.rbegin(); key != held.rend(); ++key)
                keybd_event(*key, 0, KEYEVENTF_KEYUP, 0);
        }
        return true;
    }
    if (word == "sys") return PostMessageW(c, WM_SYSCOMMAND, n, 0);
    if (word == "tray")
        return PostMessageW(c, WM_USER + 111, 2, static_cast<LPARAM>(n));  // as the shell does
    if (word == "store") return StoreStartDate(DWORD(y), DWORD(m), DWORD(d)), true;
    if (word == "delete-key") return DeleteStartDateKey(), true;
    if (word == "menu") return (s.dialog = OpenTrayMenu(c, id)) != nullptr;
    if (word == "choose") return ChooseMenuItem(s.dialog, static_cast<int>(n)), true;
    if (word == "cover") {  // another program's window over the counter, as a person leaves it
        RECT frame{};
        GetWindowRect(c, &frame);
        s.cover = CreateWindowExW(0, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE, frame.left,
                                  frame.top, 200, 100, nullptr, nullptr, nullptr, nullptr);
        return SetWindowPos(s.cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    if (word == "elsewhere")  // the user turns to the test's own window
        return SetForegroundWindow(s.cover) &&
               WaitUntil([&] { return GetForegroundWindow() == s.cover; });
    // A setup asks the program to end as Windows' Restart Manager does: yes to the question (a
    // step true on yes), then the end, or the end called off (end-session:0).
    if (word == "query-end") {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutW(c, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                                   5000, &answer) &&
               answer == TRUE;
    }
    if (word == "end-session")
        return SendMessageTimeoutW(c, WM_ENDSESSION, n, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000,
                                   nullptr) != 0;
    if (word == "second-copy-ends") {  // with 0, opening no window while it runs
        TallyvaneProcess second;
        DWORD exitCode = 99;
        bool opened = false;
        return second.Start(g_program) && WaitUntil([&] {
                   opened = opened || FindProcessWindow(second.Id(), L"#32770", nullptr);
                   return second.WaitForExit(exitCode, 0ms);
               }) &&
               exitCode == 0 && !opened;
    }
    // Observations.
    if (word == "visible") return WaitUntil([&] { return IsWindowVisible(c) != FALSE; });
    if (word == "hidden") return WaitUntil([&] { return !IsWindowVisible(c); });
    if (word == "foreground") return WaitUntil([&] { return GetForegroundWindow() == c; });
    if (word == "minimised") return WaitUntil([&] { return IsIconic(c) != FALSE; });
    if (word == "running") return s.program.Running();
    if (word == "disabled") return WaitUntil([&] { return !IsWindowEnabled(c); });
    if (word == "enabled") return WaitUntil([&] { return IsWindowEnabled(c) != FALSE; });
    if (word == "ticking") return Ticking(c);
    if (word == "shows") return WaitUntil([&] { return ControlText(c, 1001) == text; });
    if (word == "reading") {  // at a second between just before and just after reading
        const std::int64_t before = local_time::CurrentInstant();
        const CounterTexts shown = ReadCounter(c);
        return ShowsReadingBetween(shown, {y, m, d}, before, local_time::CurrentInstant());
    }
    if (word == "dialog")  // by its caption, which the window search matches in any case
        return WaitUntil([&] {
            s.dialog = FindProcessWindow(id, L"#32770", text.c_str());
            wchar_t caption[64] = L"";
            return s.dialog != nullptr && IsWindowVisible(s.dialog) &&
                   GetWindowTextW(s.dialog, caption, 64) > 0 && text == caption;
        });
    if (word == "dialog-gone") return WaitUntil([&] { return !IsWindow(s.dialog); });
    if (word == "menu-closed") return WaitUntil([&] { return !IsWindowVisible(s.dialog); });
    SYSTEMTIME t{};  // "today" as the store and as the picker show it
    GetLocalTime(&t);
    const std::wstring year = std::to_wstring(t.wYear), month = std::to_wstring(t.wMonth),
                       day = std::to_wstring(t.wDay);
    if (word == "stored")
        return (s.seen = StoredDate()) ==
               (arg == "today" ? year + L"-" + month + L"-" + day : text);
    if (word == "picker") {  // the date the options' picker shows, once typed keys have come
        const std::wstring want = arg == "today" ? month + L"/" + day + L"/" + year : text;
        return WaitUntil([&] { return (s.seen = ControlText(s.dialog, 1016)) == want; });
    }
    if (word == "icon") return WaitUntil([&] { return TrayIconShown(c); });
    if (word == "exit-code") {
        DWORD exitCode = 99;
        return s.program.WaitForExit(exitCode) && exitCode == n;
    }
    if (word == "menu-at-cursor") {  // its bottom-right corner
        POINT cursor{};
        RECT frame{};
        return GetCursorPos(&cursor) && GetWindowRect(s.dialog, &frame) &&
               frame.right == cursor.x && frame.bottom == cursor.y;
    }
    if (word == "on-top")  // no visible window above it
        return WaitUntil([&] {
            for (HWND w = GetWindow(c, GW_HWNDPREV); w != nullptr; w = GetWindow(w, GW_HWNDPREV))
                if (IsWindowVisible(w)) return false;
            return true;
        });
    if (word == "focused") {  // the control with the keyboard focus
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        return WaitUntil([&] {
            return GetGUIThreadInfo(thread, &gui) && GetDlgCtrlID(gui.hwndFocus) == int(n);
        });
    }
    if (word == "rows") {  // read aloud as shown: the buttons, the date, each count after its
                           // name and on its row
        const std::pair<const wchar_t*, std::array<int, 2>> rows[] = {
            {L"Years", {1004, 1014}}, {L"Months", {1005, 1015}},  {L"Days", {1006, 1008}},
            {L"Hours", {1012, 1013}}, {L"Minutes", {1009, 1010}}, {L"Seconds", {1007, 1011}}};
        const auto readAsShown = [&] {  // and the book still shows its image
            std::wstring shown = L",Exit,Help,Options...,,Sobriety Date," + ControlText(c, 1001);
            shown += L",Sobriety Counter";
            for (const auto& [name, ids] : rows) {
                RECT label{}, count{};
                GetWindowRect(GetDlgItem(c, ids[0]), &label);
                GetWindowRect(GetDlgItem(c, ids[1]), &count);
                shown += (label.top == count.top ? L"," + std::wstring(name) : L",(off its row)") +
                         L"," + ControlText(c, ids[1]);
            }
            return (s.seen = ReadAloud(c)) == shown &&  // the book: the first control of no id
                   SendDlgItemMessageW(c, -1, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
        };
        return WaitUntil(readAsShown, 5s);  // until no tick changes a text while it reads
    }
    if (word == "heard")
        return (s.seen = ReadAloud(s.dialog)) == L"," + text;  // names, a comma each
    if (word == "follows-store") return FollowsTheStoreAtEveryTick(c);
    if (word == "dialog-says")  // a message box's text
        return ControlText(s.dialog, 0xFFFF).find(text) != std::wstring::npos;
    ADD_FAILURE() << "unknown step " << step;
    return false;
}

const std::pair<const char*, const char*> kScenarios[] = {
    {"the counter shows the stored date and follows the store at every tick",
     "shows:Monday, June 30, 2008 | reading:2008-6-30 | ticking | rows | follows-store"},
    {"an invalid date and a deleted key show at the next tick; reading creates no key",
     "store:2008-13-1 | shows:Invalid DateTime | ticking | reading:2008-13-1 | delete-key | "
     "shows:Thursday, January 01, 1970 | ticking | reading:1970-1-1 | stored:none"},
    {"Esc, Exit and close only hide; it keeps counting (Enter: by the keyboard alone, below)",
     "press:esc | hidden | running | ticking | tray:double | visible | click:exit | hidden | "
     "ticking | tray:left | visible | sys:close | hidden | running | ticking"},
    {"a second copy shows the first, on top, as it is, and ends",
     "press:esc | hidden | second-copy-ends | visible | on-top | cover | second-copy-ends | "
     "on-top | sys:minimise | minimised | second-copy-ends | minimised | visible"},
    {"tray clicks leave a minimised window minimised; other mouse messages do nothing",
     "sys:minimise | minimised | tray:left | tray:double | tray:move | ticking | minimised | "
     "visible"},
    // That the program removes its icon as it ends is checked in process: Wine's tray removes
    // the icons of a window that is gone by itself, so no step here could see it.
    {"the tray menu shows, hides and exits",
     "icon:yes | menu | menu-at-cursor | choose:0 | hidden | menu | choose:0 | visible | menu | "
     "dialog-key:esc | menu-closed | visible | running | ticking | menu | choose:1 | exit-code:0"},
    {"the tray menu makes the counter foreground, visible, minimised or hidden; reopens after Esc",
     "cover | elsewhere | menu | foreground | dialog-key:esc | menu-closed | visible | menu | "
     "choose:0 | hidden | menu | choose:0 | visible | sys:minimise | minimised | elsewhere | "
     "menu | foreground | "
     "dialog-key:esc | menu-closed | minimised | sys:close | hidden | elsewhere | menu | "
     "foreground | dialog-key:esc | menu-closed | hidden | menu | choose:0 | visible"},
    {"Help shows the help box, modal, over a ticking counter; Exit from the tray menu ends it too",
     "click:help | dialog:Tallyvane Help | disabled | ticking | dialog-says:365 | "
     "dialog-says:Options | press:esc | dialog-gone | enabled | click:help | "
     "dialog:Tallyvane Help | menu | choose:1 | exit-code:0"},
    // A date is typed from OK: Tab twice, past Cancel, to the picker, then Right to each of
    // its fields (month, day, year) and the field's digits: Wine's picker selects no field
    // until Right is pressed (Windows' selects one as it takes the focus).
    {"options Cancel (by Shift+Tab and Space) saves nothing of a typed date",
     "store:1999-1-1 | click:options | dialog:Tallyvane Options | press:tab tab | focused:1016 | "
     "press:right 6 right 3 0 right 2 0 0 8 | picker:6/30/2008 | press:shift+tab | focused:2 | "
     "press:space | dialog-gone | stored:1999-1-1"},
    {"options on a date the picker cannot show save today once it is changed and changed back",
     "store:2008-13-1 | click:options | dialog:Tallyvane Options | picker:today | "
     "press:tab tab | focused:1016 | press:right up down | picker:today | press:enter | "
     "dialog-gone | stored:today"},
    // After each message the counter must still tick before it counts as running on.
    {"a setup's request to end: yes, counting on; called off, counting on; ended, About and tray "
     "menu open",
     "query-end | ticking | running | end-session:0 | ticking | running | sys:16 | "
     "dialog:About Tallyvane | menu | query-end | end-session:1 | exit-code:0"},
    // Wine's menus take no letter typed into them, so About is reached with Up, the last entry.
    // Alt+O leaves the focus on Options..., so Tab takes it on round to Exit.
    {"by the keyboard alone: Alt+O opens Options, read over a ticking counter; Tab to the "
     "picker, digits, arrows and Enter save, Esc does not; Alt+Space, Up and Enter open About, "
     "read over a ticking counter, Enter and Esc close it; Enter on Exit hides",
     "store:1999-1-1 | focused:1 | press:alt+o | dialog:Tallyvane Options | focused:1 | "
     "disabled | ticking | heard:OK,Cancel,Sobriety Date,* | press:tab tab | focused:1016 | "
     "press:right 6 right 3 0 right 2 0 0 8 up down down enter | dialog-gone | enabled | "
     "stored:2007-6-30 | shows:Saturday, June 30, 2007 | press:alt+o | "
     "dialog:Tallyvane Options | press:tab tab | focused:1016 | press:right up | "
     "picker:7/30/2007 | press:esc | dialog-gone | stored:2007-6-30 | "
     "press:alt+space up enter | dialog:About Tallyvane | "
     "heard:," TALLYVANE_ABOUT_TEXT ",Copyright (C) 2026 Tallyvane,OK | disabled | ticking | "
     "press:enter | dialog-gone | enabled | press:alt+space up enter | dialog:About Tallyvane | "
     "press:esc | dialog-gone | press:tab | focused:1 | press:enter | hidden"},
};

// Options opens on the date the counter counts from, or today where it cannot show that date;
// Enter, and OK clicked, on the dialog untouched leave every stored value as it was.
const std::pair<std::string, std::string> kUntouchedOptions[] = {
    {"2008-6-30", "6/30/2008"},  // stored, shown
    {"2008-13-1", "today"},      // an invalid date
    {"1500-6-30", "today"},      // before the first day that the picker shows
    {"none", "1/1/1970"},        // no key
};
std::string UntouchedOptions(const std::string& stored, const std::string& shown) {
    const std::string open = " | click:options | dialog:Tallyvane Options | picker:" + shown;
    return (stored == "none" ? "delete-key" : "store:" + stored) + open +
           " | press:enter | dialog-gone | stored:" + stored + open +
           " | dialog-click:ok | dialog-gone | stored:" + stored;
}

// A window as the display shows it, in pixels: its DPI, whether it is aware of each
// monitor's DPI, its client size, its picture's size, and every visible text that does not
// show whole ("cut: ...").
struct Measured {
    UINT dpi = 0;
    bool perMonitor = false;
    SIZE client{};
    SIZE picture{};
    std::wstring cut;
};
Measured Measure(HWND window) {
    Measured m;
    m.dpi = GetDpiForWindow(window);
    m.perMonitor = GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(window)) ==
                   DPI_AWARENESS_PER_MONITOR_AWARE;
    RECT r{};
    GetClientRect(window, &r);
    m.client = {r.right, r.bottom};
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t kind[32] = L"";
        GetClassNameW(c, kind, 32);
        const std::wstring text = ControlText(window, GetDlgCtrlID(c)), type = kind;
        const auto style = GetWindowLongW(c, GWL_STYLE);
        // A picture control takes the size of the image it is given.
        if ((SendMessageW(c, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0 ||
             SendMessageW(c, STM_GETIMAGE, IMAGE_ICON, 0) != 0) &&
            GetWindowRect(c, &r))
            m.picture = {r.right - r.left, r.bottom - r.top};
        if (!IsWindowVisible(c) || text.empty() ||
            (type == L"Static" && (style & SS_TYPEMASK) > SS_RIGHT))
            continue;
        // A button's text is one line; a group box's caption also needs room for its line's
        // ends, about two characters.
        const bool button = type == L"Button", group = (style & BS_TYPEMASK) == BS_GROUPBOX;
        if (!TextFits(c, button && group ? text + L"  " : text,
                      button                ? DT_SINGLELINE
                      : style & SS_NOPREFIX ? DT_NOPREFIX
                                            : 0))
            m.cut += L" cut: " + text;
    }
    return m;
}

// With --scaling=FILE, at the DPI that the prefix gives this process and the program: at 96
// DPI, the windows' sizes are written to FILE; at any other, each window must be aware of its
// DPI, its client size the size at 96 DPI scaled (within what the font's rounding gives), the
// book (135 x 198 at 96 DPI) and the about box's icon their own sizes scaled, and every text
// whole.
std::string g_scalingReference;

TEST(EndToEnd, Scaling) {
    if (g_scalingReference.empty()) GTEST_SKIP() << "runs with --scaling=FILE";
    const UINT dpi = GetDpiForSystem();
    StoreStartDate(2008, 6, 30);
    TallyvaneProcess program;
    ASSERT_TRUE(program.Start(g_program));
    const HWND counter = program.WaitForReadyCounter();
    ASSERT_NE(counter, nullptr) << "the counter window did not appear";
    std::map<std::wstring, Measured> windows = {{L"Tallyvane", Measure(counter)}};
    for (const auto& [caption, command, id] :
         {std::tuple{L"Tallyvane Options", UINT(WM_COMMAND), 57671},
          {L"About Tallyvane", UINT(WM_SYSCOMMAND), 16}}) {
        PostMessageW(counter, command, WPARAM(id), 0);
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitUntil([&, name = caption] {
            dialog = FindProcessWindow(program.Id(), L"#32770", name);
            return dialog != nullptr && IsWindowVisible(dialog);
        })) << caption;
        windows[caption] = Measure(dialog);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << caption;
    }
    if (dpi == 96) {
        std::wofstream reference(g_scalingReference);
        for (const auto& [name, m] : windows)
            reference << name << L"\t" << m.client.cx << L" " << m.client.cy << L"\n";
    }
    std::wifstream reference(g_scalingReference);
    std::size_t compared = 0;
    for (std::wstring name; std::getline(reference, name, L'\t') && windows.contains(name);
         ++compared) {
        SIZE at96{};
        reference >> at96.cx >> at96.cy >> std::ws;
        const Measured& m = windows[name];
        const auto scaled = [&](LONG seen, LONG length) {  // the font's rounding: up to 4%
            const double want = length * (dpi / 96.0);
            return std::abs(seen - want) <= want * 0.05;
        };
        EXPECT_TRUE(m.dpi == dpi && m.perMonitor)
            << name << ": DPI " << m.dpi << (m.perMonitor ? "" : ", unaware of it");
        EXPECT_TRUE(scaled(m.client.cx, at96.cx) && scaled(m.client.cy, at96.cy))
            << name << ": " << m.client.cx << " x " << m.client.cy << " at " << dpi << " DPI, "
            << at96.cx << " x " << at96.cy << " at 96";
        EXPECT_EQ(m.cut, L"") << name << " at " << dpi << " DPI";
    }
    EXPECT_EQ(compared, windows.size()) << "a size at 96 DPI for every window";
    const SIZE& book = windows[L"Tallyvane"].picture;
    EXPECT_TRUE(book.cx == MulDiv(135, int(dpi), 96) && book.cy == MulDiv(198, int(dpi), 96))
        << "the book " << book.cx << " x " << book.cy << " at " << dpi << " DPI";
    const SIZE& icon = windows[L"About Tallyvane"].picture;  // 32 x 32 at 96 DPI
    EXPECT_TRUE(icon.cx == MulDiv(32, int(dpi), 96) && icon.cy == icon.cx)
        << "the about box's icon " << icon.cx << " x " << icon.cy << " at " << dpi << " DPI";
}

TEST(EndToEnd, Scenarios) {
    std::vector<std::pair<std::string, std::string>> scenarios(std::begin(kScenarios),
                                                               std::end(kScenarios));
    for (const auto& [stored, shown] : kUntouchedOptions)
        scenarios.emplace_back("options untouched on " + stored, UntouchedOptions(stored, shown));
    for (const auto& [name, steps] : scenarios) {
        StoreStartDate(2008, 6, 30);
        Session session;
        ASSERT_TRUE(session.program.Start(g_program));
        session.counter = session.program.WaitForReadyCounter();
        ASSERT_NE(session.counter, nullptr) << name << ": the counter window did not appear";
        std::istringstream list(steps);
        for (std::string step; std::getline(list >> std::ws, step, '|');) {
            step.erase(step.find_last_not_of(' ') + 1);
            session.seen.clear();  // a failure shows what this step read, if it read anything
            if (!Perform(session, step)) {
                ADD_FAILURE() << name << ": " << step << (session.seen.empty() ? L"" : L"; read ")
                              << session.seen;
                break;
            }
        }
    }
    DeleteStartDateKey();
}

}  // namespace
}  // namespace e2e

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    CoInitialize(nullptr);  // for the accessible objects
    // Windows as they are, in pixels, at every scaling.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (argc < 2)
        return std::fprintf(stderr, "usage: %s PATH-TO-Tallyvane.exe [--scaling=FILE]\n", argv[0]),
               2;

    // A Unix path from CTest maps onto Wine's Z: drive.
    for (const char* c = argv[1]; *c != '\0'; ++c)
        e2e::g_program += *c == '/' ? L'\\' : wchar_t(*c);
    if (argv[1][0] == '/') e2e::g_program.insert(0, L"Z:");
    if (argc > 2 && std::string(argv[2]).starts_with("--scaling=/"))
        e2e::g_scalingReference = std::string("Z:") + (argv[2] + 10);
    return RUN_ALL_TESTS();
}
