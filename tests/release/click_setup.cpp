// Works Tallyvane's installer or uninstaller as a person does: page by page, clicking the
// boxes it is told to, then Next (or Install, Uninstall, Finish, Close) until the window
// has gone. Prints each box's state as its page shows it, and each label's text with
// whether all of it shows: "fits", "cut" (too long for the label) or "hides &".
//   click-setup WINDOW-TITLE [BOX | folder:PATH]...
// A box is named by its text; "Start at sign-in" is the second item of the components list.
// folder:PATH types PATH as the folder to install into.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "driver.h"

using namespace std::chrono_literals;

namespace {

std::vector<std::wstring> g_told;  // the command line's boxes and folder

bool Told(const std::wstring& box) {
    return std::ranges::find(g_told, box) != g_told.end();
}

// The label's own font is a handle of the installer's process: the same font is made here,
// the one that the installer's dialogs name.
bool Fits(HWND label, const std::wstring& text) {
    RECT client{}, needed{};
    GetClientRect(label, &client);
    needed.right = client.right;
    HDC dc = GetDC(label);
    HFONT font = CreateFontW(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0,
                             0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg");
    HGDIOBJ before = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, before);
    DeleteObject(font);
    ReleaseDC(label, dc);
    return needed.bottom <= client.bottom;
}

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
                    hides                 ? "hides &"
                    : Fits(control, text) ? "fits"
                                          : "cut",
                    text.c_str());
    } else if (kind == L"Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        const bool ticked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        std::printf("box %ls: %s\n", text.c_str(), ticked ? "ticked" : "unticked");
        if (Told(text)) PostMessageW(control, BM_CLICK, 0, 0);
    } else if (kind == WC_TREEVIEWW) {
        auto item =
            reinterpret_cast<WPARAM>(TreeView_GetNextSibling(control, TreeView_GetRoot(control)));
        const auto state = SendMessageW(control, TVM_GETITEMSTATE, item, TVIS_STATEIMAGEMASK) >> 12;
        std::printf("box Start at sign-in: %s\n", state == 2 ? "ticked" : "unticked");
        if (Told(L"Start at sign-in")) {  // selected, then the space bar
            SendMessageW(control, TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(item));
            e2e::PressKey(control, VK_SPACE);
        }
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return std::fprintf(stderr, "usage: click-setup WINDOW-TITLE [BOX]...\n"), 2;
    HWND window = nullptr, shown = nullptr, page = nullptr, next = nullptr;
    // Found by its title once: the title changes while the files are written.
    if (!e2e::WaitUntil([&] { return (window = FindWindowW(L"#32770", argv[1])) != nullptr; }, 60s))
        return std::fprintf(stderr, "click-setup: no window titled %ls\n", argv[1]), 1;
    // The window, once it shows a new page and its Next button can be pressed; or its end. A
    // progress page moves on by itself once finished, unless it is the last, which then offers
    // Close: a click before that would land on the next page before its boxes are worked.
    const auto ready = [&] {
        shown = FindWindowExW(window, nullptr, L"#32770", nullptr);
        next = GetDlgItem(window, IDOK);
        return !IsWindow(window) ||
               (shown && shown != page && IsWindowVisible(shown) && IsWindowEnabled(next) &&
                (!FindWindowExW(shown, nullptr, PROGRESS_CLASSW, nullptr) ||
                 e2e::ControlText(window, IDOK) == L"&Close"));
    };
    g_told.assign(argv + 2, argv + argc);
    while (e2e::WaitUntil(ready, 60s) && IsWindow(window)) {
        page = shown;
        EnumChildWindows(page, WorkControl, 0);
        std::fflush(stdout);
        PostMessageW(next, BM_CLICK, 0, 0);
    }
    if (IsWindow(window)) return std::fprintf(stderr, "click-setup: a page did not move on\n"), 1;
    return 0;
}
