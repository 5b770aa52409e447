#include "counter_dlg.h"

#include "about_box.h"
#include "count_text.h"
#include "dpi.h"
#include "exports.h"
#include "local_time.h"
#include "options_dlg.h"
#include "resource.h"
#include "tray_icon.h"
#include "win_app.h"

using framework::kAnyCode;
using framework::kAnyId;

namespace {

constexpr UINT_PTR kRefreshTimerId = 1;
constexpr UINT kRefreshMilliseconds = 100;
// A refused icon is added again this long after the last try ended. A shell that does not
// answer holds each try for seconds, so the tries never follow each other closely.
constexpr UINT_PTR kTrayRetryTimerId = 2;
constexpr UINT kTrayRetryMilliseconds = 3000;

// Sent by the shell whenever the taskbar is created afresh (when Explorer restarts);
// our icon is gone then and must be added again. Registered at start-up, before the
// message table below is initialised.
const UINT WM_TASKBAR_CREATED = RegisterWindowMessageW(L"TaskbarCreated");

}  // namespace

const framework::MessageTableEntry<CCounterDlg> CCounterDlg::kMessageTable[] = {
    {WM_TIMER, kAnyCode, kAnyId, &CCounterDlg::OnTimer},
    {WM_SYSCOMMAND, kAnyCode, kAnyId, &CCounterDlg::OnSysCommand},
    {WM_PAINT, kAnyCode, kAnyId, &CCounterDlg::OnPaint},
    {WM_QUERYDRAGICON, kAnyCode, kAnyId, &CCounterDlg::OnQueryDragIcon},
    {WM_DESTROY, kAnyCode, kAnyId, &CCounterDlg::OnDestroy},
    {WM_TRAY_NOTIFY, kAnyCode, kAnyId, &CCounterDlg::OnTrayNotify},
    {WM_TASKBAR_CREATED, kAnyCode, kAnyId, &CCounterDlg::OnTaskbarCreated},
    {WM_COMMAND, BN_CLICKED, ID_DEFAULT_HELP, &CCounterDlg::OnOptions},
    {WM_QUERYENDSESSION, kAnyCode, kAnyId, &CCounterDlg::OnQueryEndSession},
    {WM_ENDSESSION, kAnyCode, kAnyId, &CCounterDlg::OnEndSession},
};

CCounterDlg::CCounterDlg(DateStore& store)
    : CDialog(IDD_TALLYVANE_DIALOG),
      m_store(store),
      m_hIcon(LoadIconW(framework::ResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

bool CCounterDlg::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return framework::DispatchMessageTable(*this, kMessageTable, message, wParam, lParam, result);
}

BOOL CCounterDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE)) {
        wchar_t about[64] = L"";
        LoadStringW(framework::ResourceInstance(), IDS_ABOUTBOX, about, 64);
        if (about[0] != L'\0') {
            AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    FitToDpi(framework::DpiForWindow(m_hWnd));

    RefreshCounter();
    // A copy run with more rights than the shell would not hear the shell restart otherwise.
    // Looked up: Windows 7 is the first to have it.
    if (const auto allow = framework::FindExport<decltype(ChangeWindowMessageFilterEx)>(
            GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx"))
        allow(m_hWnd, WM_TASKBAR_CREATED, MSGFLT_ALLOW, nullptr);
    // The notification area's icon size is the system's, whatever the window's DPI. The icon is
    // added once the window shows (timer messages come after painting): a busy shell holds an
    // add for seconds, and the window would not show meanwhile.
    m_trayIcon.Reset(MakeTrayIcon());
    // Not yet asked: closed before the first try, the window hides, and comes back if refused.
    m_trayIconState = m_trayIcon.Get() != nullptr ? TrayIconState::unsure : TrayIconState::absent;
    SetTimer(m_hWnd, kTrayRetryTimerId, 0, nullptr);
    m_nTimer = SetTimer(m_hWnd, kRefreshTimerId, kRefreshMilliseconds, nullptr);
    return TRUE;
}

void CCounterDlg::FitToDpi(UINT dpi) {
    using framework::MetricForDpi;
    const HINSTANCE instance = framework::ResourceInstance();
    // Each new icon is set before the one it replaces is released.
    const auto setIcon = [&](framework::OwnedIcon& icon, WPARAM kind, int width, int height) {
        HICON made = framework::MakeIcon(instance, IDR_MAINFRAME, width, height);
        SendMessageW(m_hWnd, WM_SETICON, kind, reinterpret_cast<LPARAM>(made ? made : m_hIcon));
        icon.Reset(made);
    };
    setIcon(m_bigIcon, ICON_BIG, MetricForDpi(SM_CXICON, dpi), MetricForDpi(SM_CYICON, dpi));
    setIcon(m_smallIcon, ICON_SMALL, MetricForDpi(SM_CXSMICON, dpi),
            MetricForDpi(SM_CYSMICON, dpi));
    m_book.Show(framework::FindPicture(m_hWnd, IMAGE_BITMAP),
                framework::MakeScaledBitmap(instance, IDB_BOOK, dpi));
}

void CCounterDlg::RefreshCounter() {
    // The store first, then the clock: two statements, so the order is fixed.
    const StoredDate start = m_store.ReadStoredDate();
    const std::int64_t now = local_time::CurrentInstant();
    const CounterReading reading = ComputeReading(start, now);
    static constexpr int kNumberControls[] = {IDC_YEARS,   IDC_MONTHS,  IDC_DAYS,      IDC_HOURS,
                                              IDC_MINUTES, IDC_SECONDS, IDC_TOTAL_DAYS};
    const CountTexts numbers = FormatCounts(reading);
    SetDlgItemTextW(m_hWnd, IDC_START_DATE, reading.dateText.c_str());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        SetDlgItemTextW(m_hWnd, kNumberControls[i], numbers[i].data());
    }
}

// Exit, Enter, Esc and the close button only hide the window; it keeps counting in the
// notification area. Without an icon there, a hidden window could be neither brought back nor
// ended: they end the program instead, which loses nothing, as the count lives in the store.
// While a slow shell has not said whether it took the icon, they hide: a try that then finds
// the icon refused shows the window again.
void CCounterDlg::OnOK() {
    if (m_trayIconState != TrayIconState::absent)
        ShowWindow(m_hWnd, SW_HIDE);
    else
        ExitProgram();
}
void CCounterDlg::OnCancel() {
    OnOK();
}

void CCounterDlg::ExitProgram() {
    KillTimer(m_hWnd, m_nTimer);
    KillTimer(m_hWnd, kTrayRetryTimerId);
    // Options (as Cancel: nothing saved), About or Help may be open, each a modal run inside
    // this window's: they end first, so that the program ends now.
    framework::EndOwnedDialogs(m_hWnd);
    EndMenu();        // a menu's own loop would hold the program until the menu closed
    CDialog::OnOK();  // ends the program, unlike this window's hiding OnOK
}

void CCounterDlg::AddTrayIconUntilShown() {
    // Without an icon there is nothing to add: the timer goes too, or it would fire on and on.
    m_trayIconState = m_trayIcon.Get() != nullptr ? m_trayTries.Try(m_hWnd, m_trayIcon.Get())
                                                  : TrayIconState::absent;
    // Hidden while the icon was thought there, the window would otherwise be out of reach;
    // it comes back without taking the focus from what the user is doing.
    if (m_trayIconState == TrayIconState::absent && !IsWindowVisible(m_hWnd))
        ShowWindow(m_hWnd, SW_SHOWNA);
    const bool done = m_trayIconState == TrayIconState::shown || m_trayIcon.Get() == nullptr;
    // Set again after each refusal, the timer counts from the end of the try.
    if (done)
        KillTimer(m_hWnd, kTrayRetryTimerId);
    else
        SetTimer(m_hWnd, kTrayRetryTimerId, kTrayRetryMilliseconds, nullptr);
}

LRESULT CCounterDlg::OnTimer(WPARAM wParam, LPARAM, bool& handled) {
    if (wParam == kRefreshTimerId) RefreshCounter();
    if (wParam == kTrayRetryTimerId) AddTrayIconUntilShown();
    handled = false;
    return 0;
}

LRESULT CCounterDlg::OnSysCommand(WPARAM wParam, LPARAM, bool& handled) {
    if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutBox about;
        about.DoModal();
    } else {
        handled = false;
    }
    return 0;
}

LRESULT CCounterDlg::OnPaint(WPARAM, LPARAM, bool& handled) {
    if (!IsIconic(m_hWnd)) {
        handled = false;
        return 0;
    }
    framework::PaintContext paint(m_hWnd);
    SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
    const UINT dpi = framework::DpiForWindow(m_hWnd);
    const int iconWidth = framework::MetricForDpi(SM_CXICON, dpi);
    const int iconHeight = framework::MetricForDpi(SM_CYICON, dpi);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIconEx(paint.Get(), x, y, m_bigIcon.Get() ? m_bigIcon.Get() : m_hIcon, iconWidth,
               iconHeight, 0, nullptr, DI_NORMAL);
    return 0;
}

LRESULT CCounterDlg::OnQueryDragIcon(WPARAM, LPARAM, bool&) {
    return reinterpret_cast<LRESULT>(m_hIcon);
}

LRESULT CCounterDlg::OnDestroy(WPARAM wParam, LPARAM lParam, bool&) {
    const LRESULT result = Default(WM_DESTROY, wParam, lParam);
    RemoveTrayIcon(m_hWnd);
    m_book.GiveBack();
    return result;
}

LRESULT CCounterDlg::OnTaskbarCreated(WPARAM, LPARAM, bool&) {
    m_trayTries.Restart();
    AddTrayIconUntilShown();
    return 0;
}

LRESULT CCounterDlg::OnTrayNotify(WPARAM, LPARAM lParam, bool&) {
    switch (static_cast<UINT>(lParam)) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ShowWindow(m_hWnd, SW_SHOW);
            break;
        case WM_RBUTTONDOWN:
            ShowTrayMenu();
            break;
        default:
            break;
    }
    return 1;
}

void CCounterDlg::ShowTrayMenu() {
    POINT cursor{};
    GetCursorPos(&cursor);
    const framework::PopupMenu menu;
    m_hTrayMenu = menu.Get();
    FillTrayMenu(m_hTrayMenu, m_hWnd);
    // A notification icon's menu closes on a click elsewhere only when its owner is the
    // foreground window; this neither shows a hidden window nor restores a minimised one.
    SetForegroundWindow(m_hWnd);
    const UINT command = static_cast<UINT>(
        TrackPopupMenuEx(m_hTrayMenu, TPM_RETURNCMD | TPM_BOTTOMALIGN | TPM_RIGHTALIGN, cursor.x,
                         cursor.y, m_hWnd, nullptr));
    // Without a message after tracking, the next right-click would close the menu at once
    // instead of opening it.
    PostMessageW(m_hWnd, WM_NULL, 0, 0);
    switch (command) {
        case kTrayShow:
            ShowWindow(m_hWnd, SW_SHOW);
            break;
        case kTrayHide:
            ShowWindow(m_hWnd, SW_HIDE);
            break;
        case kTrayExit:
            ExitProgram();
            break;
        default:
            break;
    }
    m_hTrayMenu = nullptr;  // the menu itself is destroyed as `menu` goes
}

LRESULT CCounterDlg::OnOptions(WPARAM, LPARAM, bool&) {
    COptions options(m_store);
    options.DoModal();
    return 0;
}

// A setup or uninstaller that replaces the program asks it to end, as Windows' Restart Manager
// does: yes to the question, and it goes on counting until told to end. At a real sign-out or
// shutdown (no ENDSESSION_CLOSEAPP) Windows ends the process itself once this returns.
LRESULT CCounterDlg::OnQueryEndSession(WPARAM, LPARAM, bool&) {
    return TRUE;
}
LRESULT CCounterDlg::OnEndSession(WPARAM wParam, LPARAM lParam, bool&) {
    if (wParam != FALSE && (lParam & ENDSESSION_CLOSEAPP) != 0) ExitProgram();
    return 0;
}
