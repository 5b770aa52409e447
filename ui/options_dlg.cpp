#include "options_dlg.h"

#include <commctrl.h>

#include <string>

#include "counter_reading.h"
#include "local_time.h"
#include "resource.h"
#include "serial_date_time.h"

namespace {

bool SameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

// The day the counter counts from, as the counter takes the stored values (each narrowed to
// 16 bits); false where the counter shows "Invalid DateTime" instead.
bool CountedStartDay(const StoredDate& stored, SYSTEMTIME& day) {
    SerialDateTime start;
    start.SetDateTime(stored.year, stored.month, stored.day, 0, 0, 0);
    day.wYear = static_cast<WORD>(stored.year);
    day.wMonth = static_cast<WORD>(stored.month);
    day.wDay = static_cast<WORD>(stored.day);
    return start.status == DateStatus::valid;
}

}  // namespace

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

BOOL COptions::OnInitDialog() {
    CDialog::OnInitDialog();
    const HWND picker = GetDlgItem(m_hWnd, IDC_DATE_PICKER);
    // The picker refuses a day it cannot show (one before its first), and then keeps its own
    // default, today, as a stand-in; so does an invalid date, which is not offered to it.
    SYSTEMTIME start{};
    if (CountedStartDay(m_store.ReadStoredDate(), start))
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&start));
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&m_stOpened));
    m_wYear = m_stOpened.wYear;
    m_wMonth = m_stOpened.wMonth;
    m_wDay = m_stOpened.wDay;
    m_bChangedByUser = false;  // whatever the picker reported while it was being set
    return TRUE;
}

LRESULT COptions::OnDateTimeChange(WPARAM, LPARAM lParam, bool&) {
    const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(lParam);
    m_wYear = change->st.wYear;
    m_wMonth = change->st.wMonth;
    m_wDay = change->st.wDay;
    m_bChangedByUser = true;
    return 0;
}

bool COptions::DateChosen(const SYSTEMTIME& shown) const {
    if (!m_bChangedByUser && SameDay(shown, m_stOpened)) return false;  // untouched
    SYSTEMTIME stored{};
    return !CountedStartDay(m_store.ReadStoredDate(), stored) || !SameDay(shown, stored);
}

LRESULT COptions::OnOkClicked(WPARAM, LPARAM, bool&) {
    SYSTEMTIME shown{};
    if (SendDlgItemMessageW(m_hWnd, IDC_DATE_PICKER, DTM_GETSYSTEMTIME, 0,
                            reinterpret_cast<LPARAM>(&shown)) != GDT_VALID ||
        !DateChosen(shown)) {
        OnOK();  // nothing chosen: what is stored stays exactly as it is
        return 0;
    }
    // What the picker shows is what is saved.
    m_wYear = shown.wYear;
    m_wMonth = shown.wMonth;
    m_wDay = shown.wDay;
    const WriteResult written = m_store.WriteStoredDate(m_wYear, m_wMonth, m_wDay);
    if (written != WriteResult::stored) {
        std::wstring text = kSaveFailedText;
        if (written == WriteResult::partlyChanged) {  // as the counter shows it
            text += kNotPutBackText;
            const std::wstring left =
                ComputeReading(m_store.ReadStoredDate(), local_time::CurrentInstant()).dateText;
            text += left == kInvalidDateText ? kNotADateText : left + L".";
        }
        // Not captioned "Tallyvane": a second copy would take that for the counter window.
        MessageBoxW(m_hWnd, text.c_str(), L"Tallyvane Options", MB_OK | MB_ICONWARNING);
        return 0;  // stays open, so the user knows the date is not saved
    }
    OnOK();
    return 0;
}
