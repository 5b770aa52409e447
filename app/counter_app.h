// The application: prepares the platform, makes sure only one counter runs on the
// desktop, and runs the counter window for the whole life of the process.
#pragma once

#include "date_store.h"
#include "message_table.h"
#include "win32_registry.h"
#include "win_app.h"

class CCounterApp : public framework::CWinApp {
  public:
    BOOL InitInstance() override;
    int ExitInstance() override;
    bool OnCommand(WPARAM wParam) override;

  private:
    // Says why the program cannot start, and ends it with exit code 1.
    BOOL FailToStart(const wchar_t* message);
    LRESULT OnHelp(WPARAM wParam, LPARAM lParam, bool& handled);

    static const framework::MessageTableEntry<CCounterApp> kCommandTable[];

    Win32Registry m_registry;
    DateStore m_store{m_registry};
    bool m_bOleInitialized = false;
};
