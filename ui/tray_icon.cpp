#include "tray_icon.h"

#include <cwchar>

#include <commctrl.h>

#include "dpi.h"
#include "exports.h"
#include "resource.h"
#include "win_app.h"

// Shells of every version accept the first-version record.
#ifndef _WIN64
static_assert(NOTIFYICONDATAW_V1_SIZE == 152);
#endif

NOTIFYICONDATAW MakeTrayIconRecord(HWND owner, HICON icon) {
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = owner;
    record.uID = kTrayIconId;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAY_NOTIFY;
    record.hIcon = icon;
    wcsncpy(record.szTip, L"Tallyvane", 63);
    return record;
}

HICON MakeTrayIcon() {
    const HINSTANCE instance = framework::ResourceInstance();
    // The common controls 6, which the program's manifest asks for, scale an icon down well;
    // loaded at start-up (from the side-by-side store), they are only looked up here.
    const auto loadIconMetric = framework::FindExport<decltype(LoadIconMetric)>(
        GetModuleHandleW(L"comctl32.dll"), "LoadIconMetric");
    HICON icon = nullptr;
    if (loadIconMetric != nullptr &&
        SUCCEEDED(loadIconMetric(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), LIM_SMALL, &icon)))
        return icon;
    return framework::MakeIcon(instance, IDR_MAINFRAME, GetSystemMetrics(SM_CXSMICON),
                               GetSystemMetrics(SM_CYSMICON));
}

TrayIconState TrayIconTries::Try(HWND owner, HICON icon) {
    if (m_bRest) {  // the shell was slow at the last try: it is left alone at this one
        m_bRest = false;
        return TrayIconState::unsure;
    }
    NOTIFYICONDATAW record = MakeTrayIconRecord(owner, icon);
    const DWORD asks[] = {m_firstAsk, m_firstAsk == NIM_ADD ? DWORD{NIM_MODIFY} : DWORD{NIM_ADD}};
    m_firstAsk = NIM_MODIFY;  // a refused add may have been taken all the same
    for (const DWORD ask : asks) {
        const ULONGLONG asked = GetTickCount64();
        if (Shell_NotifyIconW(ask, &record)) return TrayIconState::shown;
        if (GetTickCount64() - asked >= 1000) {  // the shell is slow: nothing more for now
            m_bRest = true;
            // No answer to whether the icon is there: the next try adds.
            if (ask == NIM_MODIFY) m_firstAsk = NIM_ADD;
            return TrayIconState::unsure;
        }
    }
    return TrayIconState::absent;
}

void RemoveTrayIcon(HWND owner) {
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = owner;
    record.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &record);
}

void FillTrayMenu(HMENU menu, HWND window) {
    if (!IsWindowVisible(window)) AppendMenuW(menu, MF_STRING, kTrayShow, L"Show Tallyvane");
    if (IsWindowVisible(window)) AppendMenuW(menu, MF_STRING, kTrayHide, L"Hide Tallyvane");
    AppendMenuW(menu, MF_STRING, kTrayExit, L"Exit Tallyvane");
}
