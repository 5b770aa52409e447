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
// Whether the notification area shows the icon, as far as the shell has said.
enum class TrayIconState {
    absent,  // refused, or never made
    shown,
    unsure,  // the shell kept the last request waiting past its time-out, and may have taken it
};

// Adds the icon over tries that the caller makes every few seconds until one says that the
// icon is in the notification area. The shell refuses while it is busy or not yet started, at
// sign-in above all, and a busy one holds each request for seconds before it gives up, though
// it may still take the icon.
class TrayIconTries {
  public:
    // Shown once the icon is there: added now, or there already (a shell that timed out may
    // still have taken an earlier add, so a retry asks first). A try stops at the first request
    // that the shell kept waiting, unsure, and the next try after it asks nothing and stays
    // unsure: the window is never held at two tries in a row.
    TrayIconState Try(HWND owner, HICON icon);
    // From the start again, as when the taskbar is new and the icon surely gone.
    void Restart() { *this = TrayIconTries(); }

  private:
    DWORD m_firstAsk = NIM_ADD;  // what the next try asks first
    bool m_bRest = false;        // the last try was kept waiting
};
void RemoveTrayIcon(HWND owner);

// Fills the tray menu for the window's visibility: Show or Hide, then Exit.
void FillTrayMenu(HMENU menu, HWND window);
