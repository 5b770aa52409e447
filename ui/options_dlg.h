// Where the user sets the start date: a date picker, OK and Cancel. OK saves the date
// the picker shows; the counter picks it up at its next tick.
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
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    LRESULT OnDateTimeChange(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnOkClicked(WPARAM wParam, LPARAM lParam, bool& handled);

    static const framework::MessageTableEntry<COptions> kMessageTable[];

    DateStore& m_store;
    WORD m_wYear = 0;
    WORD m_wMonth = 0;
    WORD m_wDay = 0;
};

// The text shown when the start date could not be saved.
inline constexpr wchar_t kSaveFailedText[] = L"The start date could not be saved.";
