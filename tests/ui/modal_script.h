// Runs a dialog modally while scripted steps act on it from a timer on the same
// thread, one step per tick; a step returns true when it is done. When a step is not
// done by the deadline the test fails and every dialog of the thread is ended.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <vector>

#include "dialog.h"

namespace ui_test {

using Step = std::function<bool()>;

INT_PTR RunModal(framework::CDialog& dialog, std::vector<Step> steps,
                 std::chrono::milliseconds deadline = std::chrono::seconds(20));

// A visible or hidden top-level window of this thread with the class and title, other
// than `except`.
HWND FindThreadWindow(const wchar_t* className, const wchar_t* title, HWND except = nullptr);

// The texts of a menu's items, "-" for a separator.
std::vector<std::wstring> MenuTexts(HMENU menu);

}  // namespace ui_test
