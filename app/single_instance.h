// One counter per sign-in session, even when two copies start at the same moment. A
// running copy is found by its window (class and title, as the installer also finds it);
// a named lock, held by the first copy for its life, closes the gap between one copy's
// search and the creation of its window.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

// "Local\": one counter per sign-in session, as the window search sees one desktop.
inline constexpr wchar_t kCounterLockName[] = L"Local\\Tallyvane.Counter";

// Runs the counter in this copy, or shows and raises the one that runs already.
// `runCounter` is the counter's modal run and returns its result, -1 when the window
// could not be created. While another copy holds the lock it is starting or running:
// this copy waits up to `deadline` for its window, or for the lock should it end first.
// Returns the process's exit code: 0 when a counter ran here or was brought forward;
// 1, with nothing shown, when the counter window could not be opened or the lock's
// holder showed no window in time.
int RunOneCounter(std::chrono::milliseconds deadline, const std::function<INT_PTR()>& runCounter);
