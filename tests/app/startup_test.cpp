// Start-up in process. Restricting the DLL search: a DLL beside the program is no longer
// found by its name alone, and the common controls still come from the system folder.
// The rule of one counter per session, without luck of timing: while the copy under test
// decides on a thread of its own, the test's thread plays the other copy, which holds the
// lock and shows its window late, or never, or lets the lock go.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <thread>

#include "dialog.h"
#include "single_instance.h"
#include "system_dlls.h"

namespace {

using namespace std::chrono_literals;

TEST(Startup, ADllBesideTheProgramIsNotLoadedByName) {
    wchar_t beside[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, beside, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    lstrcpyW(std::wcsrchr(beside, L'\\') + 1, L"libplanted_dll.dll");
    ASSERT_NE(GetFileAttributesW(beside), INVALID_FILE_ATTRIBUTES) << "the test's own setup";

    ASSERT_TRUE(RestrictDllSearchToSystemFolder());
    EXPECT_EQ(LoadLibraryW(L"libplanted_dll.dll"), nullptr);
    const SystemLibrary controls(L"comctl32.dll", true);
    EXPECT_NE(controls.Find<decltype(InitCommonControlsEx)>("InitCommonControlsEx"), nullptr);
}

enum class Lock { none, held, waitOnly, abandoned };
enum class Then { nothing, window, release };  // what the other copy does, `afterMs` in

TEST(Startup, OneCounterPerSession) {
    using enum Lock;
    using enum Then;
    // A lock only to wait on, as a copy with more rights leaves it to one with fewer.
    PSECURITY_DESCRIPTOR waitOnlyRights = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(A;;0x00100000;;;WD)", SDDL_REVISION_1, &waitOnlyRights, nullptr));
    SECURITY_ATTRIBUTES waitOnlyLock{sizeof waitOnlyLock, waitOnlyRights, FALSE};
    const struct {
        const char* name;
        Lock lock;
        Then then;
        ULONGLONG afterMs;  // from the start of the copy under test
        std::chrono::milliseconds deadline;
        bool runsHere, showsOther;
        int exitCode;  // 1 where this copy runs: its counter window cannot open
    } rows[] = {
        // clang-format off
        {"the holder's window is late", held,      window,  300, 10s, false, true,  0},
        {"the holder shows no window",  held,      nothing, 0,   1s,  false, false, 1},
        {"the holder ends first",       held,      release, 300, 10s, true,  false, 0},
        {"the holder died",             abandoned, nothing, 0,   10s, true,  false, 0},
        {"an older copy, no lock",      none,      window,  0,   10s, false, true,  0},
        {"a lock only to wait on",      waitOnly,  window,  300, 10s, false, true,  0},
        {"the counter cannot open",     none,      nothing, 0,   10s, true,  false, 1},
        // clang-format on
    };
    // A person who starts Tallyvane again waits for the decision: it comes promptly after
    // what the copy waits for (the window, the lock, its deadline), even on a loaded machine.
    constexpr ULONGLONG kPromptMs = 500;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(FindWindowW(L"#32770", L"Tallyvane"), nullptr) << "a leftover counter window";
        HANDLE lock = nullptr;
        bool tookLock = false;  // made and owned it: no leftover's
        const auto takeLock = [&] {
            lock = CreateMutexW(row.lock == waitOnly ? &waitOnlyLock : nullptr, TRUE,
                                kCounterLockName);
            tookLock = lock != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
        };
        if (row.lock == abandoned) std::thread(takeLock).join();  // it ends holding the lock
        if (row.lock == held || row.lock == waitOnly) takeLock();
        ASSERT_EQ(tookLock, row.lock != none) << "a leftover lock";
        // A lock only to wait on must refuse full access, or its row is the first again.
        ASSERT_TRUE(row.lock != waitOnly || (!CreateMutexW(nullptr, FALSE, kCounterLockName) &&
                                             GetLastError() == ERROR_ACCESS_DENIED));

        HWND otherWindow = nullptr;
        std::atomic<ULONGLONG> startedAt = 0, decidedAt = 0, actedAt = 0;
        const auto playOtherCopy = [&] {
            if (row.afterMs > 0 && (startedAt == 0 || GetTickCount64() < startedAt + row.afterMs))
                return;
            // Taken before acting: the copy under test may decide at once.
            if (row.then != nothing && actedAt == 0) actedAt = GetTickCount64();
            if (row.then == window && otherWindow == nullptr) {
                otherWindow = CreateWindowExW(0, L"#32770", L"Tallyvane", WS_POPUP, 0, 0, 200, 100,
                                              nullptr, nullptr, nullptr, nullptr);
            }
            if (row.then == release) ReleaseMutex(lock);
        };
        playOtherCopy();  // what is due at once comes first
        bool ranHere = false, heldWhileRunning = false;
        int exitCode = -1;
        std::thread thisCopy([&] {
            startedAt = GetTickCount64();
            exitCode = RunOneCounter(row.deadline, [&] {
                ranHere = true;
                // The lock stays this copy's while its counter runs: a copy started now
                // waits for its window instead of running a second counter.
                std::thread([&] {
                    HANDLE other = OpenMutexW(SYNCHRONIZE, FALSE, kCounterLockName);
                    heldWhileRunning = WaitForSingleObject(other, 0) == WAIT_TIMEOUT;
                    CloseHandle(other);
                }).join();
                framework::CDialog noSuchTemplate(0xBAD);
                return row.exitCode == 0 ? INT_PTR{IDOK} : noSuchTemplate.DoModal();
            });
            decidedAt = GetTickCount64();
        });
        // A copy stuck deciding would keep this test running until CTest's limit.
        const ULONGLONG giveUp = GetTickCount64() + ULONGLONG(row.deadline.count()) + 20000;
        while (decidedAt == 0) {  // pumping: showing the window sends this thread messages
            if (GetTickCount64() > giveUp) {
                ADD_FAILURE() << row.name << ": no decision within the deadline and 20 s";
                ExitProcess(1);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
                DispatchMessageW(&message);
            playOtherCopy();
        }
        thisCopy.join();
        EXPECT_EQ(ranHere, row.runsHere);
        EXPECT_EQ(heldWhileRunning, row.runsHere) << "the lock, while the counter runs";
        EXPECT_EQ(exitCode, row.exitCode);
        EXPECT_EQ(otherWindow != nullptr && IsWindowVisible(otherWindow), row.showsOther);
        // A copy that waits in vain gives up at its deadline, not before, and not long after.
        const bool waitsInVain = row.lock == held && row.then == nothing;
        const ULONGLONG awaited = waitsInVain ? startedAt + ULONGLONG(row.deadline.count())
                                              : std::max<ULONGLONG>(startedAt, actedAt);
        EXPECT_GE(decidedAt, awaited) << "decided before what it waits for";
        EXPECT_LT(decidedAt - awaited, kPromptMs) << "decided late";
        if (otherWindow != nullptr) DestroyWindow(otherWindow);
        if (lock != nullptr) ReleaseMutex(lock), CloseHandle(lock);
    }
    LocalFree(waitOnlyRights);
}

}  // namespace
