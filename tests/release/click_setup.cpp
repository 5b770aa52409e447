// Works Tallyvane's installer or uninstaller as a person does: page by page, clicking the
// boxes it is told to, then Next (or Install, Uninstall, Finish, Close) until the window
// has gone. A box it clicks is read back until it shows its new state before anything else
// happens: where it never does, the driver stops on that page, names the box, and ends with
// 1. Prints each box's state as its page showed it on arrival and as the page is left, and
// each label's text with whether all of it shows: "fits", "cut" (too long for the label) or
// "hides &".
//   click-setup WINDOW-TITLE [BOX | folder:PATH | answer:OK | answer:Cancel | then:OK]...
// A box is named by its text; "Start at sign-in" is the second item of the components list.
// folder:PATH types PATH as the folder to install into. answer: waits for a message box before
// the first page, prints "message: " and its text, and chooses that button; Cancel ends there.
// then:OK does so for a message that a page shows as it is left; without it, that ends with 1.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "driver.h"

using namespace std::chrono_literals;

namespace {

std::vector<std::wstring> g_told;  // the command line's boxes and folder

// A click as a person's: on the active window. A button of a window that is not active may
// drop BM_CLICK (its press is undone as activation moves the focus), as Microsoft warns.
void Click(HWND button) {
    const HWND window = GetAncestor(button, GA_ROOT);
    e2e::WaitUntil([&] { return SetForegroundWindow(window) && GetForegroundWindow() == window; });
    PostMessageW(button, BM_CLICK, 0, 0);
}

bool Told(const std::wstring& box) {
    return std::ranges::find(g_told, box) != g_told.end();
}

// A box on the page: how to read it, how to click it, and what it showed on arrival.
struct Box {
    std::wstring name;
    std::function<bool()> ticked;
    std::function<void()> click;
    bool arrived = false;
};
std::vector<Box> g_boxes;

BOOL CALLBACK WorkControl(HWND control, LPARAM) {
    wchar_t name[32] = L"";
    GetClassNameW(control, name, 32);
    const std::wstring kind = name,
                       text = e2e::ControlText(GetParent(control), GetDlgCtrlID(control));
    const auto style = GetWindowLongW(control, GWL_STYLE);
    if (!IsWindowVisible(control)) return TRUE;
    if (kind == L"Edit") {
        for (const std::wstring& told : g_told)
            if (told.starts_with(L"folder:"))
                SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(told.c_str() + 7));
    } else if (kind == L"Static" && !text.empty() && (style & SS_TYPEMASK) == SS_LEFT) {
        const bool hides = !(style & SS_NOPREFIX) && text.find(L'&') != std::wstring::npos;
        std::printf("label %s: %ls\n",
                    hides                                       ? "hides &"
                    : e2e::TextFits(control, text, DT_NOPREFIX) ? "fits"
                                                                : "cut",
                    text.c_str());
    } else if (kind == L"Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        g_boxes.push_back({text,
                           [=] { return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED; },
                           [=] { Click(control); }});
    } else if (kind == WC_TREEVIEWW) {
        auto item =
            reinterpret_cast<LPARAM>(TreeView_GetNextSibling(control, TreeView_GetRoot(control)));
        g_boxes.push_back(
            {L"Start at sign-in",
             [=] {
                 return (SendMessageW(control, TVM_GETITEMSTATE, static_cast<WPARAM>(item),
                                      TVIS_STATEIMAGEMASK) >>
                         12) == 2;
             },
             [=] {  // selected, then the space bar, which the tree turns into the character
                    // that toggles the box: after the key, behind whatever else was posted
                 SendMessageW(control, TVM_SELECTITEM, TVGN_CARET, item);
                 e2e::PressKey(control, VK_SPACE);
             }});
    }
    return TRUE;
}

// Clicks the boxes told, each read back until it shows its new state; then prints each box as
// the page showed it on arrival and as it leaves it. False, and why, when a box never changed.
bool WorkBoxes(int page) {
    bool changed = true;
    for (Box& box : g_boxes) {
        box.arrived = box.ticked();
        if (!Told(box.name)) continue;
        box.click();
        if (!e2e::WaitUntil([&] { return box.ticked() != box.arrived; }, 20s)) {
            std::fprintf(stderr, "click-setup: on page %d, the box %ls stayed %s\n", page,
                         box.name.c_str(), box.arrived ? "ticked" : "unticked");
            changed = false;
        }
    }
    for (const Box& box : g_boxes)
        std::printf("box %ls: %s, left %s\n", box.name.c_str(), box.arrived ? "ticked" : "unticked",
                    box.ticked() ? "ticked" : "unticked");
    g_boxes.clear();
    return changed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return std::fprintf(stderr, "usage: click-setup WINDOW-TITLE [BOX]...\n"), 2;
    // The installer's windows as they are, in pixels, at any display scaling.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    HWND window = nullptr, shown = nullptr, page = nullptr, next = nullptr;
    // Found by its title once: the title changes while the files are written.
    const auto found = [&] {
        if (e2e::WaitUntil([&] { return (window = FindWindowW(L"#32770", argv[1])) != nullptr; },
                           60s))
            return true;
        return std::fprintf(stderr, "click-setup: no window titled %ls\n", argv[1]), false;
    };
    if (!found()) return 1;
    // The window, once it shows a new page and its Next button can be pressed; or its end. A
    // progress page moves on by itself once finished, unless it is the last, which then offers
    // Close: a click before that would land on the next page before its boxes are worked.
    const auto message = [&] {  // over the window, with its title
        const HWND box = FindWindowW(L"#32770", argv[1]);
        // Once shown, it has its buttons.
        return GetWindow(box, GW_OWNER) == window && IsWindowVisible(box) ? box : nullptr;
    };
    const auto ready = [&] {
        if (message() != nullptr) return true;
        shown = FindWindowExW(window, nullptr, L"#32770", nullptr);
        next = GetDlgItem(window, IDOK);
        return !IsWindow(window) ||
               (shown && shown != page && IsWindowVisible(shown) && IsWindowEnabled(next) &&
                (!FindWindowExW(shown, nullptr, PROGRESS_CLASSW, nullptr) ||
                 e2e::ControlText(window, IDOK) == L"&Close"));
    };
    g_told.assign(argv + 2, argv + argc);
    for (const auto& [told, button] :
         {std::pair{L"answer:OK", IDOK}, {L"answer:Cancel", IDCANCEL}}) {
        if (!Told(told)) continue;
        e2e::WaitUntil([&] { return IsWindowVisible(window) != FALSE; });  // and its buttons
        std::printf("message: %ls\n", e2e::ControlText(window, 0xFFFF).c_str());
        Click(GetDlgItem(window, button));
        if (!e2e::WaitUntil([&] { return !IsWindow(window); }, 60s))
            return std::fprintf(stderr, "click-setup: the message stayed\n"), 1;
        if (button == IDCANCEL) return 0;
        if (!found()) return 1;
    }
    for (int number = 1; e2e::WaitUntil(ready, 60s) && IsWindow(window); ++number) {
        if (const HWND box = message()) {
            std::printf("message: %ls\n", e2e::ControlText(box, 0xFFFF).c_str());
            if (!Told(L"then:OK")) return 1;
            Click(GetDlgItem(box, IDOK));
            e2e::WaitUntil([&] { return !IsWindow(box); }, 60s);
            continue;
        }
        page = shown;
        EnumChildWindows(page, WorkControl, 0);
        const bool worked = WorkBoxes(number);
        std::fflush(stdout);
        if (!worked) return 1;  // the window is left as it is, for the test to end
        Click(next);
    }
    if (IsWindow(window))  // and what is active: the installer, or a message over it?
        return std::fprintf(stderr, "click-setup: a page did not move on; active: %ls %ls\n",
                            GetForegroundWindow() == window ? L"the installer" : L"another window",
                            e2e::ControlText(GetForegroundWindow(), 0xFFFF).c_str()),
               1;
    return 0;
}
