// Drives a real Tallyvane.exe from outside, as a person would: starts it, finds its
// windows, reads its controls, presses keys and buttons, and arranges the registry.
#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <functional>
#include <string>

#include "counter_reading.h"

namespace e2e {

using namespace std::chrono_literals;

// Polls every 50 ms until the condition holds or the deadline passes. Deadlines are
// generous: Wine on a loaded machine can be slow, and a passing test never waits them out.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline = 20s);

// The program under test, as a Unix path from the test's command line.
void SetProgramPath(const char* path);
const std::wstring& ProgramPath();

class TallyvaneProcess {
  public:
    TallyvaneProcess() = default;
    ~TallyvaneProcess();  // stops a program still running
    TallyvaneProcess(const TallyvaneProcess&) = delete;
    TallyvaneProcess& operator=(const TallyvaneProcess&) = delete;

    bool Start();
    bool Attach(DWORD processId);  // a program that already runs
    bool WaitForExit(DWORD& exitCode, std::chrono::milliseconds deadline = 20s);
    bool Running() const;
    // Ends the program through its notification-area menu, or by force when that fails.
    void Stop();
    DWORD Id() const { return m_info.dwProcessId; }
    // The counter window once visible and the program idle, ready for input; or null.
    HWND WaitForReadyCounter();

  private:
    PROCESS_INFORMATION m_info{};
};

// A top-level window of the process with this class and title (any title when null).
HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title);

std::wstring ControlText(HWND dialog, int id);
// The eight texts in display order: date, years, months, days, hours, minutes,
// seconds, total days.
using CounterTexts = std::array<std::wstring, 8>;
CounterTexts ReadCounter(HWND counter);
CounterTexts TextsOf(const CounterReading& reading);

// The start-date key, arranged and read from outside with the registry API.
void StoreStartDate(DWORD year, DWORD month, DWORD day);
void DeleteStartDateKey();
bool StartDateKeyExists();
// The stored values, or false where one is missing or not a REG_DWORD.
bool ReadStoredDwords(DWORD& year, DWORD& month, DWORD& day);

// The notification-area callback as the shell sends it for a mouse message.
void PostTrayMouse(HWND counter, UINT mouseMessage);
// Opens the tray menu and waits for its window; null when it did not appear.
HWND OpenTrayMenu(HWND counter, DWORD processId);
// Chooses the item at `position` from the top (0-based) with the keyboard.
void ChooseMenuItem(HWND menuWindow, int position);
// Asks the shell about the counter's icon (NIM_MODIFY with nothing to change) or
// removes it as a restarting shell loses it (NIM_DELETE).
bool TrayIcon(HWND counter, DWORD action);

void PressKey(HWND window, UINT virtualKey);
void ClickButton(HWND dialog, int id);
// Types a date into a short-date picker (month/day/year), field by field.
void TypeDate(HWND picker, int year, int month, int day);

}  // namespace e2e
