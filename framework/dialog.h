// A modal dialog built on a template, in place of a class library's dialog class.
// `this` lives in the window's DWLP_USER from WM_INITDIALOG on; messages go to the
// derived class's message table, IDOK and IDCANCEL to the virtual OnOK and OnCancel,
// other commands on to the application, and everything else to default processing.
#pragma once

#include <windows.h>

namespace framework {

// The least type information a class states about itself: its name and its base.
struct ClassInfo {
    const char* name;
    const ClassInfo* base;
    unsigned schema;  // 0xFFFF: no serialisation schema
};

class CDialog {
  public:
    static const ClassInfo kClassInfo;

    // `parent` null: the application's main window becomes the owner while it runs.
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    virtual const ClassInfo& GetClassInfo() const { return kClassInfo; }

    // Runs the dialog until it ends; its owner is disabled meanwhile. Returns the
    // result passed to EndDialog, or -1 when the dialog could not be created.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);
    HWND GetSafeHwnd() const { return m_hWnd; }

  protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Makes for a DPI what the dialog manager does not scale (pictures, icons). The dialog
    // calls it as it opens; on WM_DPICHANGED it is called once the dialog manager has scaled
    // the layout and the window has taken the rectangle suggested for the new DPI.
    virtual void FitToDpi(UINT /*dpi*/) {}
    // The derived class's message table; true when it handled the message.
    virtual bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The dialog manager's own handling of the message being handled, for a handler
    // that acts after it.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    HWND OwnerForModalRun() const;

    UINT m_nIDTemplate;
    HWND m_hWndParent;
    UINT m_nDefaultMessage = WM_NULL;  // inside Default: the dialog procedure stands aside
};

// Cancels every dialog of this thread that `owner` owns, directly or through another dialog,
// message boxes included, as Esc would. Nested modal runs each return in turn, innermost
// first, so a caller that then ends `owner` ends its own run too.
void EndOwnedDialogs(HWND owner);

// Centres a window over its owner, or over the work area when the owner is hidden,
// minimised or absent, keeping it inside the work area.
void CenterWindow(HWND window);

}  // namespace framework
