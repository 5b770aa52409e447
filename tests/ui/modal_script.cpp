#include "modal_script.h"

#include <gtest/gtest.h>

#include <string>

namespace ui_test {
namespace {

struct Script {
    std::vector<Step> steps;
    std::size_t next = 0;
    std::chrono::steady_clock::time_point deadline;
};
Script* g_script = nullptr;

BOOL CALLBACK EndDialogWindow(HWND window, LPARAM) {
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    if (wcscmp(className, L"#32770") == 0) EndDialog(window, -2);
    return TRUE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    Script& script = *g_script;
    if (script.next < script.steps.size()) {
        if (script.steps[script.next]()) ++script.next;
    }
    if (script.next < script.steps.size() && std::chrono::steady_clock::now() > script.deadline) {
        ADD_FAILURE() << "step " << script.next + 1 << " was not done in time";
        script.next = script.steps.size();
        EnumThreadWindows(GetCurrentThreadId(), EndDialogWindow, 0);
    }
    if (script.next == script.steps.size()) KillTimer(nullptr, timer);
}

struct FindRequest {
    const wchar_t* className;
    const wchar_t* title;
    HWND except;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM context) {
    auto* request = reinterpret_cast<FindRequest*>(context);
    wchar_t className[64] = L"";
    wchar_t title[128] = L"";
    GetClassNameW(window, className, 64);
    GetWindowTextW(window, title, 128);
    if (window != request->except && wcscmp(className, request->className) == 0 &&
        wcscmp(title, request->title) == 0) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

INT_PTR RunModal(framework::CDialog& dialog, std::vector<Step> steps,
                 std::chrono::milliseconds deadline) {
    Script script{std::move(steps), 0, std::chrono::steady_clock::now() + deadline};
    g_script = &script;
    SetTimer(nullptr, 0, 50, Tick);
    const INT_PTR result = dialog.DoModal();
    EXPECT_EQ(script.next, script.steps.size()) << "the dialog ended before the script did";
    g_script = nullptr;
    return result;
}

HWND FindThreadWindow(const wchar_t* className, const wchar_t* title, HWND except) {
    FindRequest request{className, title, except, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), Match, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

std::vector<std::wstring> MenuTexts(HMENU menu) {
    std::vector<std::wstring> texts;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
        if ((item.fType & MFT_SEPARATOR) != 0) {
            texts.emplace_back(L"-");
            continue;
        }
        wchar_t text[128] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        texts.emplace_back(text);
    }
    return texts;
}

}  // namespace ui_test
