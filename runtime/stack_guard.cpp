// The guard value and the failure handlers that -fstack-protector-strong and
// _FORTIFY_SOURCE compile calls to, in place of the compiler's libssp. libssp seeds its
// guard with CryptAcquireContext, whose cryptographic provider DLLs it would load by name,
// before the program has restricted where DLLs come from; this seeds it from the clock,
// the counters, the process and thread and the stack's address, as Microsoft's C runtime
// seeds its own stack cookie, and loads nothing.
#include <windows.h>

#include <cstdint>

extern "C" {

// Protected functions compare their copy with this on return. Until the constructor below
// has run it holds a fixed value, which only the C runtime's start-up code sees.
// NOLINTNEXTLINE(bugprone-reserved-identifier,readability-identifier-naming): the compiler's name
std::uintptr_t __stack_chk_guard = static_cast<std::uintptr_t>(0x2b992ddfa232);

// Runs before any of the program's own code, the constructors of its objects included (the
// first priority that a program may give); not protected itself, since the guard changes
// under it.
__attribute__((constructor(101), no_stack_protector)) static void SeedStackGuard() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    auto mix = (std::uint64_t{now.dwHighDateTime} << 32U) | now.dwLowDateTime;
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
    mix ^= ticks ^ (ticks << 32U);
    mix ^= (std::uint64_t{GetCurrentProcessId()} << 48U) ^
           (std::uint64_t{GetCurrentThreadId()} << 16U);
    mix ^= GetTickCount();
    // Where the stack is, after ASLR, spread over all the bits.
    mix ^= reinterpret_cast<std::uintptr_t>(&now) * std::uint64_t{0x9E3779B97F4A7C15};
    const auto guard = static_cast<std::uintptr_t>(mix ^ (mix >> 32U));
    // A zero low byte: an overrun by a string copy cannot write the guard's value back.
    __stack_chk_guard = guard & ~static_cast<std::uintptr_t>(0xFF);
}

// The stack or a buffer is corrupt: end at once, running nothing more of the program's (no
// unwinding, no handlers), with the exit code Windows gives a failed stack cookie.
// NOLINTNEXTLINE(bugprone-reserved-identifier,readability-identifier-naming): the compiler's name
[[noreturn]] void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_unreachable();
}
// A fortified copy found its destination too small. (Not marked noreturn: clang knows it as
// a builtin declared without.)
// NOLINTNEXTLINE(bugprone-reserved-identifier,readability-identifier-naming)
void __chk_fail() {
    __stack_chk_fail();
}
}
