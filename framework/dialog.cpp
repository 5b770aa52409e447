#include "dialog.h"

#include "win_app.h"

namespace framework {

namespace {

// A picture's window text, as its template gives it, is its image's resource id, which a
// screen reader would read out as the picture's name; a picture here has none. Its own
// WM_SETTEXT would load an image of the new name and lose the one it shows, so the
// default window procedure empties the text, past it.
void ClearPictureTexts(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0 ||
            SendMessageW(child, STM_GETIMAGE, IMAGE_ICON, 0) != 0)
            DefWindowProcW(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    }
}

// Cancels `window` when it is a dialog that `owner` owns, through any others: a dialog may be
// ended only by its own procedure, which Cancel reaches as Esc does (a message box with only
// OK takes it for OK).
BOOL CALLBACK CancelIfOwned(HWND window, LPARAM owner) {
    wchar_t kind[8] = L"";
    GetClassNameW(window, kind, 8);
    if (lstrcmpW(kind, L"#32770") != 0) return TRUE;
    for (HWND up = GetWindow(window, GW_OWNER); up != nullptr; up = GetWindow(up, GW_OWNER)) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the enumeration passes the owner on
        if (up == reinterpret_cast<HWND>(owner))
            return SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0), TRUE;
    }
    return TRUE;
}

}  // namespace

const ClassInfo CDialog::kClassInfo = {"CDialog", nullptr, 0xFFFF};

CDialog::CDialog(UINT templateId, HWND parent) : m_nIDTemplate(templateId), m_hWndParent(parent) {}

bool CDialog::ProcessMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

HWND CDialog::OwnerForModalRun() const {
    if (m_hWndParent != nullptr) return m_hWndParent;
    const CWinApp* app = CWinApp::Current();
    if (app == nullptr || app->m_pMainWnd == nullptr || app->m_pMainWnd == this) return nullptr;
    return app->m_pMainWnd->GetSafeHwnd();
}

INT_PTR CDialog::DoModal() {
    return DialogBoxParamW(ResourceInstance(), MAKEINTRESOURCEW(m_nIDTemplate), OwnerForModalRun(),
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result) {
    ::EndDialog(m_hWnd, result);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_hWnd = window;
        ClearPictureTexts(window);
        RECT before{};
        GetWindowRect(window, &before);
        const BOOL result = self->OnInitDialog();
        // Templates leave the position to us: a top-level dialog that its initialisation
        // did not move opens centred over its owner, before it is first shown.
        RECT after{};
        if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0 &&
            GetWindowRect(window, &after) && after.left == before.left && after.top == before.top) {
            CenterWindow(window);
        }
        return result;
    }
    auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr || (message != WM_NULL && message == self->m_nDefaultMessage)) return FALSE;
    const INT_PTR handled = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return handled;
}

LRESULT CDialog::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    // The dialog manager asks the dialog procedure first; it must not come back here.
    m_nDefaultMessage = message;
    const LRESULT result = DefDlgProcW(m_hWnd, message, wParam, lParam);
    m_nDefaultMessage = WM_NULL;
    return result;
}

void CDialog::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    Default(WM_DPICHANGED, wParam, lParam);
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the message carries the rectangle's address
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitToDpi(HIWORD(wParam));
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DPICHANGED && lParam != 0) {
        OnDpiChanged(wParam, lParam);
        SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    LRESULT result = 0;
    if (ProcessMessage(message, wParam, lParam, result)) {
        switch (message) {
            // These return their answer directly instead of through DWLP_MSGRESULT.
            case WM_QUERYDRAGICON:
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORSCROLLBAR:
            case WM_COMPAREITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
                return result;
            default:
                SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
                return TRUE;
        }
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
            case IDOK:
                OnOK();
                return TRUE;
            case IDCANCEL:
                OnCancel();
                return TRUE;
            default:
                break;
        }
    }
    // Commands nobody here handles go on to the application, as in command routing.
    if (message == WM_COMMAND) {
        if (CWinApp* app = CWinApp::Current(); app != nullptr && app->OnCommand(wParam))
            return TRUE;
    }
    return FALSE;
}

void EndOwnedDialogs(HWND owner) {
    EnumThreadWindows(GetCurrentThreadId(), CancelIfOwned, reinterpret_cast<LPARAM>(owner));
}

void CenterWindow(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HWND owner = GetWindow(window, GW_OWNER);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT area = monitor.rcWork;
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);

    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    LONG left = area.left + (area.right - area.left - width) / 2;
    LONG top = area.top + (area.bottom - area.top - height) / 2;
    const RECT& work = monitor.rcWork;
    if (left + width > work.right) left = work.right - width;
    if (top + height > work.bottom) top = work.bottom - height;
    if (left < work.left) left = work.left;
    if (top < work.top) top = work.top;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace framework
