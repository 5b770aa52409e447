#include "options_dlg.h"

#include <commctrl.h>

#include "resource.h"

const framework::ClassInfo COptions::kClassInfo = {"COptions", &framework::CDialog::kClassInfo,
                                                   0xFFFF};

const framework::MessageTableEntry<COptions> COptions::kMessageTable[] = {
    {WM_NOTIFY, DTN_DATETIMECHANGE, IDC_DATE_PICKER, &COptions::OnDateTimeChange},
    {WM_COMMAND, BN_CLICKED, IDOK, &COptions::OnOkClicked},
};

COptions::COptions(DateStore& store) : CDialog(IDD_OPTIONS), m_store(store) {}

bool COptions::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return framework::DispatchMessageTable(*this, kMessageTable, message, wParam, lParam, result);
}

LRESULT COptions::OnDateTimeChange(WPARAM, LPARAM lParam, bool&) {
    const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(lParam);
    m_wYear = change->st.wYear;
    m_wMonth = change->st.wMonth;
    m_wDay = change->st.wDay;
    return 0;
}

LRESULT COptions::OnOkClicked(WPARAM, LPARAM, bool&) {
    // What the picker shows is what is saved, whether or not it reported a change.
    SYSTEMTIME shown{};
    if (SendDlgItemMessageW(m_hWnd, IDC_DATE_PICKER, DTM_GETSYSTEMTIME, 0,
                            reinterpret_cast<LPARAM>(&shown)) == GDT_VALID) {
        m_wYear = shown.wYear;
        m_wMonth = shown.wMonth;
        m_wDay = shown.wDay;
    }
    if (!m_store.WriteStoredDate(m_wYear, m_wMonth, m_wDay)) {
        // Not captioned "Tallyvane": a second copy would take that for the counter window.
        MessageBoxW(m_hWnd, kSaveFailedText, L"Tallyvane Options", MB_OK | MB_ICONWARNING);
        return 0;  // stays open, so the user knows the date is not saved
    }
    OnOK();
    return 0;
}
