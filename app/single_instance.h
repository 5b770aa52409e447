// One counter per session, even when two copies start at the same moment. A running
// copy is found by its window (class and title, as the installer also finds it); a
// named mutex, held by the first copy for its life, closes the gap between one copy's
// search and the creation of its window.
#pragma once

#include <windows.h>

#include <chrono>

class InstanceMutex {
  public:
    InstanceMutex();
    ~InstanceMutex();
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;

    // Waits up to `waitMilliseconds` to own the mutex. A copy that ended without releasing it
    // (abandoned) leaves it owned by the caller, so a copy that died before its window
    // existed locks no later start out. Without a mutex at all (creation failed) every
    // copy counts as its owner and the window search alone decides, as before.
    bool TryOwn(DWORD waitMilliseconds);

  private:
    HANDLE m_hMutex;
    bool m_bOwned = false;
};

// The running counter's window, or null.
HWND FindRunningCounter();

// Decides whether this copy runs the counter. When it does not, `running` is the
// counter to bring forward, or null when no window appeared before the deadline.
struct InstanceCheck {
    bool runHere = false;
    HWND running = nullptr;
};
InstanceCheck CheckForRunningCounter(InstanceMutex& mutex, std::chrono::milliseconds deadline);
