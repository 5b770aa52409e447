// Drives a real Tallyvane.exe from outside, as a person would: starts it, finds its
// windows, reads its controls, and presses keys, buttons and menu items.
#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <functional>
#include <string>

namespace e2e {

using namespace std::chrono_literals;

// Polls every 50 ms until the condition holds or the deadline passes. Deadlines are
// generous: Wine on a loaded machine can be slow, and a passing test never waits them out.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline = 20s);

class TallyvaneProcess {
  public:
    TallyvaneProcess() = default;
    ~TallyvaneProcess();  // stops a program still running
    TallyvaneProcess(const TallyvaneProcess&) = delete;
    TallyvaneProcess& operator=(const TallyvaneProcess&) = delete;

    bool Start(const std::wstring& path);
    bool Attach(DWORD processId);  // a program that already runs
    bool WaitForExit(DWORD& exitCode, std::chrono::milliseconds deadline = 20s);
    bool Running() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
    // Ends the program through its notification-area menu, or by force when that fails.
    void Stop();
    // Lets the program run on, and forgets it.
    void Detach();
    DWORD Id() const { return m_info.dwProcessId; }
    // The counter window once visible, the program idle and its icon shown, ready for input;
    // or null.
    HWND WaitForReadyCounter();

  private:
    PROCESS_INFORMATION m_info{};
};

// A top-level window of the process with this class and title (any title when null).
HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title);
// Whether the shell shows the counter's icon (asked to change nothing of it).
bool TrayIconShown(HWND counter);
std::wstring ControlText(HWND dialog, int id);
// Whether all of `text` shows in the control, drawn in the font that the program's and the
// installer's dialogs name (MS Shell Dlg, 8 point) at the control's DPI; `format` adds
// DrawText's DT_NOPREFIX or DT_SINGLELINE. The caller must be aware of each monitor's DPI,
// so that it sees the control's real size.
bool TextFits(HWND control, const std::wstring& text, UINT format);
// The eight texts in display order: date, years, months, days, hours, minutes,
// seconds, total days; a set shown at one moment.
using CounterTexts = std::array<std::wstring, 8>;
CounterTexts ReadCounter(HWND counter);

// Opens the tray menu and waits for its window; null when it did not appear.
HWND OpenTrayMenu(HWND counter, DWORD processId);
// Chooses the item at `position` from the top (0-based) with the keyboard.
void ChooseMenuItem(HWND menuWindow, int position);
void PressKey(HWND window, UINT virtualKey);
void ClickButton(HWND dialog, int id);

}  // namespace e2e
