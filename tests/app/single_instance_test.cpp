// The rule of one counter per session, in process and without luck of timing: while the
// copy under test decides on a thread of its own, the test's thread plays the other copy,
// which holds the lock and shows its window late, or never, or lets the lock go.
#include <windows.h>

#include <gtest/gtest.h>
#include <sddl.h>

#include <atomic>
#include <thread>

#include "dialog.h"
#include "single_instance.h"

namespace {

using namespace std::chrono_literals;

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
        int afterMs;
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
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
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

        HWND otherWindow = nullptr;
        const ULONGLONG due = GetTickCount64() + ULONGLONG(row.afterMs);
        const auto playOtherCopy = [&] {
            if (GetTickCount64() < due) return;
            if (row.then == window && otherWindow == nullptr) {
                otherWindow = CreateWindowExW(0, L"#32770", L"Tallyvane", WS_POPUP, 0, 0, 200, 100,
                                              nullptr, nullptr, nullptr, nullptr);
            }
            if (row.then == release) ReleaseMutex(lock);
        };
        playOtherCopy();  // what is due at once comes first
        bool ranHere = false;
        int exitCode = -1;
        std::atomic<bool> decided = false;
        std::thread thisCopy([&] {
            exitCode = RunOneCounter(row.deadline, [&] {
                ranHere = true;
                framework::CDialog noSuchTemplate(0xBAD);
                return row.exitCode == 0 ? INT_PTR{IDOK} : noSuchTemplate.DoModal();
            });
            decided = true;
        });
        while (!decided) {  // pumping: showing the window sends this thread messages
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
                DispatchMessageW(&message);
            playOtherCopy();
        }
        thisCopy.join();
        EXPECT_EQ(ranHere, row.runsHere);
        EXPECT_EQ(exitCode, row.exitCode);
        EXPECT_EQ(otherWindow != nullptr && IsWindowVisible(otherWindow), row.showsOther);
        if (otherWindow != nullptr) DestroyWindow(otherWindow);
        if (lock != nullptr) ReleaseMutex(lock), CloseHandle(lock);
    }
    LocalFree(waitOnlyRights);
}

}  // namespace
