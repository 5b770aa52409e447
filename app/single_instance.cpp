#include "single_instance.h"

namespace {

// "Local\": one counter per sign-in session, as the window search sees one desktop.
constexpr wchar_t kMutexName[] = L"Local\\Tallyvane.Counter";
constexpr DWORD kPollMilliseconds = 50;

// The owner runs the counter unless a copy from before the mutex already does.
InstanceCheck AsOwner() {
    HWND running = FindRunningCounter();
    return {running == nullptr, running};
}

}  // namespace

InstanceMutex::InstanceMutex() : m_hMutex(CreateMutexW(nullptr, FALSE, kMutexName)) {}

InstanceMutex::~InstanceMutex() {
    if (m_hMutex == nullptr) return;
    if (m_bOwned) ReleaseMutex(m_hMutex);
    CloseHandle(m_hMutex);
}

bool InstanceMutex::TryOwn(DWORD waitMilliseconds) {
    if (m_hMutex == nullptr) return true;
    if (!m_bOwned) {
        const DWORD result = WaitForSingleObject(m_hMutex, waitMilliseconds);
        m_bOwned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
    return m_bOwned;
}

HWND FindRunningCounter() {
    return FindWindowW(L"#32770", L"Tallyvane");
}

InstanceCheck CheckForRunningCounter(InstanceMutex& mutex, std::chrono::milliseconds deadline) {
    // While another copy owns the mutex it is starting or running: wait for its window,
    // or for the mutex should that copy end first.
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(deadline.count());
    for (;;) {
        if (mutex.TryOwn(kPollMilliseconds)) return AsOwner();
        if (HWND running = FindRunningCounter()) return {false, running};
        if (GetTickCount64() >= end) return {false, nullptr};
    }
}
