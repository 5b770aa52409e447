// Drives a real Tallyvane.exe from outside, as a person would: starts it, finds its
// window, reads its controls, presses keys and buttons, and arranges the registry.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "counter_reading.h"

namespace e2e {

using namespace std::chrono_literals;

// Deadlines are generous: Wine and a loaded machine can be slow, and a passing test
// never waits for them.
inline constexpr auto kDeadline = 20s;

// Polls `condition` every 50 ms until it holds or the deadline passes.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = kDeadline);

// The Windows path of the program under test, from the test's command line.
const std::wstring& ProgramPath();
void SetProgramPath(const char* path);

class TallyvaneProcess {
  public:
    TallyvaneProcess() = default;
    // Takes over a program that is already running.
    bool Attach(DWORD processId);
    ~TallyvaneProcess();
    TallyvaneProcess(const TallyvaneProcess&) = delete;
    TallyvaneProcess& operator=(const TallyvaneProcess&) = delete;

    bool Start();
    // Waits for the process to end; true with its exit code when it did in time.
    bool WaitForExit(DWORD& exitCode, std::chrono::milliseconds deadline = kDeadline);
    bool Running() const;
    // Ends the program through its notification-area menu, or by force when that fails.
    void Stop();
    DWORD Id() const { return m_info.dwProcessId; }
    // Waits for the counter window to be visible and the program idle, ready for input
    // (until its queue first runs empty the dialog manager may still show the window).
    HWND WaitForReadyCounter();

  private:
    PROCESS_INFORMATION m_info{};
};

// The counter window of the process `processId` (visible or not), or null.
HWND FindCounterWindow(DWORD processId);

std::wstring ControlText(HWND dialog, int id);
// The eight texts in display order: date, years, months, days, hours, minutes,
// seconds, total days.
struct CounterTexts {
    std::wstring values[8];
    bool operator==(const CounterTexts&) const = default;
};
CounterTexts ReadCounter(HWND dialog);
CounterTexts TextsOf(const CounterReading& reading);

// A top-level window of the process with this class and title, or null.
HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title);

// The start-date key, arranged from outside with the registry API.
void StoreStartDate(DWORD year, DWORD month, DWORD day);
void DeleteStartDateKey();
// The stored values, or false where a value is missing or not a REG_DWORD.
bool ReadStoredDwords(DWORD& year, DWORD& month, DWORD& day);

// Sends the notification-area callback as the shell does for a mouse message.
void PostTrayMouse(HWND counter, UINT mouseMessage);
// Opens the tray menu and waits for its window; null when it did not appear.
HWND OpenTrayMenu(HWND counter, DWORD processId);
// Chooses the menu's item at `position` from the top (0-based) with the keyboard.
void ChooseMenuItem(HWND menuWindow, int position);

// Whether the shell holds the counter's icon (asked without changing it).
bool TrayIconPresent(HWND counter);
// Removes the counter's icon as a restarting shell loses it.
void DropTrayIcon(HWND counter);

// Keys as a person presses them, to whichever window has them.
void PressKey(HWND window, UINT virtualKey);
void TypeText(HWND window, const char* text);
void ClickButton(HWND dialog, int id);
// Types a date into a short-date picker (month/day/year), field by field.
void TypeDate(HWND picker, int year, int month, int day);

}  // namespace e2e
