// The main window: the start date and the running counter, refreshed ten times a
// second from the store. Closing it only hides it; the notification-area menu ends
// the program.
#pragma once

#include "date_store.h"
#include "dialog.h"
#include "handles.h"
#include "message_table.h"
#include "picture.h"
#include "tray_icon.h"

class CCounterDlg : public framework::CDialog {
  public:
    explicit CCounterDlg(DateStore& store);

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The icons and the book at the window's DPI.
    void FitToDpi(UINT dpi) override;

  private:
    void RefreshCounter();
    // Adds the notification-area icon, or tries again every few seconds until the shell takes it.
    void AddTrayIconUntilShown();
    void ShowTrayMenu();
    // Ends the program as the tray menu's Exit does: the open dialogs cancelled, nothing
    // saved, the timers stopped; the icon goes as the window does.
    void ExitProgram();

    LRESULT OnTimer(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnQueryDragIcon(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnOptions(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam, bool& handled);

    static const framework::MessageTableEntry<CCounterDlg> kMessageTable[];

    DateStore& m_store;
    HICON m_hIcon;  // the application icon, shared
    UINT_PTR m_nTimer = 0;
    HMENU m_hTrayMenu = nullptr;
    // Whether the shell shows the icon: unless it surely does not, there is somewhere to hide
    // the window to.
    TrayIconState m_trayIconState = TrayIconState::absent;
    // Made from the application icon at the sizes for the window's DPI.
    framework::OwnedIcon m_bigIcon, m_smallIcon, m_trayIcon;
    framework::PictureBitmap m_book;
    TrayIconTries m_trayTries;
};
