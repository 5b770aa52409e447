// The application object, in place of a class library's: one static instance per
// program, whose start-up decides the process's life. Start-up returning FALSE ends
// the process without a message loop.
#pragma once

#include <windows.h>

namespace framework {

class CDialog;

class CWinApp {
  public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The one application object of the process, or null where there is none (tests).
    static CWinApp* Current();

    // Start-up; TRUE goes on to a message loop until WM_QUIT.
    virtual BOOL InitInstance() { return TRUE; }
    // The process's exit code.
    virtual int ExitInstance() { return m_nExitCode; }
    // Commands that no window handled (WM_COMMAND's wParam). True when handled.
    virtual bool OnCommand(WPARAM) { return false; }

    // Called from the program's entry point.
    int Run(HINSTANCE instance);

    HINSTANCE m_hInstance = nullptr;
    CDialog* m_pMainWnd = nullptr;

  protected:
    int m_nExitCode = 0;
};

// The module whose resources the dialogs and icons come from.
HINSTANCE ResourceInstance();

}  // namespace framework
