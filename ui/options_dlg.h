// Where the user sets the start date: a date picker, OK and Cancel. The picker opens on the
// date the counter counts from; OK saves the date it shows once the user has changed it and it
// is not what is stored, so that Enter on a dialog nobody touched never replaces the stored
// date.
#pragma once

#include "date_store.h"
#include "dialog.h"
#include "message_table.h"

class COptions : public framework::CDialog {
  public:
    static const framework::ClassInfo kClassInfo;

    explicit COptions(DateStore& store);
    const framework::ClassInfo& GetClassInfo() const override { return kClassInfo; }

  protected:
    BOOL OnInitDialog() override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    LRESULT OnDateTimeChange(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnOkClicked(WPARAM wParam, LPARAM lParam, bool& handled);
    // Whether OK has a date to save: the user has touched the picker (it no longer shows the
    // date it opened on, or they changed it) and it shows another day than the one stored now,
    // which a failed save may have left different from the one the dialog opened on.
    bool DateChosen(const SYSTEMTIME& shown) const;

    static const framework::MessageTableEntry<COptions> kMessageTable[];

    DateStore& m_store;
    WORD m_wYear = 0;
    WORD m_wMonth = 0;
    WORD m_wDay = 0;
    SYSTEMTIME m_stOpened{};        // the date the picker opened on
    bool m_bChangedByUser = false;  // the picker reported a change since it opened
};

// The text shown when the start date could not be saved; where what it replaced could not all
// be put back either, the second text follows, with the date the counter counts from now.
inline constexpr wchar_t kSaveFailedText[] = L"The start date could not be saved.";
inline constexpr wchar_t kNotPutBackText[] =
    L" Nor could the date stored before be put back: the date stored now is ";
inline constexpr wchar_t kNotADateText[] = L"not a valid date.";  // where the counter shows so
