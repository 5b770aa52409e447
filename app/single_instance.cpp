#include "single_instance.h"

namespace {

constexpr DWORD kPollMilliseconds = 50;
constexpr int kExitFailed = 1;

HWND FindRunningCounter() {
    return FindWindowW(L"#32770", L"Tallyvane");
}

// The lock, owned (if at all) until this object ends.
class CounterLock {
  public:
    CounterLock() : m_hLock(CreateMutexW(nullptr, FALSE, kCounterLockName)) {
        // A copy started with other rights (as administrator, say) may have made a lock
        // that this copy cannot open fully; waiting on it is all the decision needs.
        if (m_hLock == nullptr && GetLastError() == ERROR_ACCESS_DENIED)
            m_hLock = OpenMutexW(SYNCHRONIZE, FALSE, kCounterLockName);
    }
    ~CounterLock() {
        if (m_hLock == nullptr) return;
        // Without the right to release it (opened for waiting only), closing the handle
        // leaves the lock abandoned, which the next copy takes as its own.
        if (m_bOwned) ReleaseMutex(m_hLock);
        CloseHandle(m_hLock);
    }
    CounterLock(const CounterLock&) = delete;
    CounterLock& operator=(const CounterLock&) = delete;

    // Waits up to `milliseconds` to own the lock. A copy that ended without releasing it
    // (abandoned) leaves it to the caller, so a copy that died before its window existed
    // locks no later start out. Without any lock (it could not be had) every copy counts
    // as its owner, and the window search alone decides.
    bool TryOwn(DWORD milliseconds) {
        if (m_hLock == nullptr) return true;
        if (!m_bOwned) {
            const DWORD result = WaitForSingleObject(m_hLock, milliseconds);
            m_bOwned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        }
        return m_bOwned;
    }

  private:
    HANDLE m_hLock;
    bool m_bOwned = false;
};

// Whether this copy runs the counter and, when it does not, the one to bring forward
// (null when no window appeared before the deadline).
struct Decision {
    bool runHere = false;
    HWND running = nullptr;
};

Decision Decide(CounterLock& lock, std::chrono::milliseconds deadline) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(deadline.count());
    for (;;) {
        if (lock.TryOwn(kPollMilliseconds)) {
            // The owner runs the counter unless a copy from before the lock already does.
            HWND running = FindRunningCounter();
            return {running == nullptr, running};
        }
        if (HWND running = FindRunningCounter()) return {false, running};
        if (GetTickCount64() >= end) return {};
    }
}

}  // namespace

int RunOneCounter(std::chrono::milliseconds deadline, const std::function<INT_PTR()>& runCounter) {
    CounterLock lock;
    const Decision decision = Decide(lock, deadline);
    if (decision.runHere) return runCounter() == -1 ? kExitFailed : 0;
    if (decision.running == nullptr) return kExitFailed;  // the other copy stalled unseen
    ShowWindow(decision.running, SW_SHOW);
    BringWindowToTop(decision.running);
    return 0;
}
