// The counter's icon in the notification area and its right-click menu.
#pragma once

#include <windows.h>

#include <shellapi.h>

// The icon's callback message, sent to the counter window with the mouse message.
inline constexpr UINT WM_TRAY_NOTIFY = WM_USER + 111;  // 1135
inline constexpr UINT kTrayIconId = 2;

// The menu's commands.
enum TrayCommand : UINT { kTrayShow = 1, kTrayHide = 2, kTrayExit = 3 };

// The record for adding the icon: first-version size, icon id 2, flags 7, the
// callback message and the tip "Tallyvane".
NOTIFYICONDATAW MakeTrayIconRecord(HWND owner, HICON icon);

// The application icon 128 at the notification area's size (the system's small-icon size),
// made for the caller, who releases it once the icon is removed; null when it cannot be.
HICON MakeTrayIcon();
// True once the icon is in the notification area: added now, or there already (a shell that
// timed out may still have taken an earlier add). The shell refuses while it is busy or not yet
// started, at sign-in above all; the caller tries again later. Waits for the shell at most
// once, for as long as the shell makes an add wait.
bool AddTrayIcon(HWND owner, HICON icon);
void RemoveTrayIcon(HWND owner);

// Fills the tray menu for the window's visibility: Show or Hide, then Exit.
void FillTrayMenu(HMENU menu, HWND window);
