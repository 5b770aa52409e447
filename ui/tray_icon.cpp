#include "tray_icon.h"

#include <cwchar>

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

void AddTrayIcon(HWND owner) {
    HICON icon = LoadIconW(framework::ResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (icon == nullptr) return;
    NOTIFYICONDATAW record = MakeTrayIconRecord(owner, icon);
    Shell_NotifyIconW(NIM_ADD, &record);
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
