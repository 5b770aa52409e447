#include "counter_app.h"

#include <commctrl.h>
#include <ole2.h>

#include "counter_dlg.h"
#include "resource.h"
#include "single_instance.h"
#include "system_dlls.h"

namespace {

// Long enough for a slow start at sign-in, short enough not to linger unseen.
constexpr std::chrono::seconds kWaitForOtherCopy{10};

// The process's one application object.
CCounterApp theApp;

}  // namespace

const framework::MessageTableEntry<CCounterApp> CCounterApp::kCommandTable[] = {
    {WM_COMMAND, framework::kAnyCode, ID_HELP, &CCounterApp::OnHelp},
};

BOOL CCounterApp::InitInstance() {
    // First of all: the common controls, OLE, the shell and the first window each load
    // DLLs by name, and none of them may come from the program's folder.
    const bool searchRestricted = RestrictDllSearchToSystemFolder();

    // Loaded here rather than imported, because Windows resolves a program's imports before
    // any of its code runs, in the program's folder first: the common controls are not
    // one of its known DLLs. They stay loaded for the counter's whole run.
    const SystemLibrary commonControls(L"comctl32.dll", searchRestricted);
    // The common controls load the theme library, and it the imaging library, by name when
    // they first draw; not every loader applies the restriction above to such late loads
    // (nor can it be made on every Windows). Taken from the system folder now, the names
    // are already there.
    const SystemLibrary themes(L"uxtheme.dll", searchRestricted);
    const SystemLibrary imaging(L"msimg32.dll", searchRestricted);
    const auto initCommonControls =
        commonControls.Find<decltype(InitCommonControlsEx)>("InitCommonControlsEx");
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    if (initCommonControls == nullptr || !initCommonControls(&controls)) {
        return FailToStart(L"Tallyvane could not start: the common controls could not be loaded.");
    }

    if (FAILED(OleInitialize(nullptr))) {
        return FailToStart(L"Tallyvane could not start: OLE could not be initialised.");
    }
    m_bOleInitialized = true;

    // One counter per session: a running one, even hidden, is shown and raised instead.
    m_nExitCode = RunOneCounter(kWaitForOtherCopy, [this] {
        CCounterDlg counter(m_store);
        m_pMainWnd = &counter;
        const INT_PTR result = counter.DoModal();
        m_pMainWnd = nullptr;
        return result;
    });
    // No message loop: the process ends here.
    return FALSE;
}

BOOL CCounterApp::FailToStart(const wchar_t* message) {
    MessageBoxW(nullptr, message, L"Tallyvane", MB_OK);
    m_nExitCode = 1;
    return FALSE;
}

int CCounterApp::ExitInstance() {
    if (m_bOleInitialized) OleUninitialize();
    return CWinApp::ExitInstance();
}

bool CCounterApp::OnCommand(WPARAM wParam) {
    LRESULT result = 0;
    return framework::DispatchMessageTable(*this, kCommandTable, WM_COMMAND, wParam, 0, result);
}

LRESULT CCounterApp::OnHelp(WPARAM, LPARAM, bool&) {
    const wchar_t* text = nullptr;
    // Length 0 asks for a pointer into the resource itself, with no copy and no limit.
    const int length = LoadStringW(m_hInstance, IDS_HELP_TEXT, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0) return 0;
    const std::wstring help(text, static_cast<std::size_t>(length));
    HWND owner = m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr;
    MessageBoxW(owner, help.c_str(), L"Tallyvane Help", MB_OK | MB_ICONINFORMATION);
    return 0;
}
