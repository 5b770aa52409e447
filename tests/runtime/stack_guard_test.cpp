// The hardening of the Windows builds: an overrun of a buffer on the stack ends the process
// at once with STATUS_STACK_BUFFER_OVERRUN, whichever check finds it, and the guard was
// seeded before the test's own code ran.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

extern "C" std::uintptr_t __stack_chk_guard;  // NOLINT(bugprone-reserved-identifier)

namespace {

volatile std::size_t g_length = 24;  // past the buffers below, unknown to the compiler
const char kText[] = "twenty-four characters..";

__attribute__((noinline)) void CopyTooLong() {  // caught by the fortified memcpy
    char buffer[8];
    std::memcpy(buffer, kText, g_length);
    std::printf("%.8s\n", buffer);
}

__attribute__((noinline)) void WriteTooFar() {  // caught by the guard on return
    char buffer[8];
    char* volatile end = buffer;  // the compiler may not assume the loop stops in the buffer
    for (std::size_t i = 0; i < g_length; ++i) end[i] = kText[i];
    std::printf("%.8s\n", buffer);
}

TEST(StackGuard, AnOverrunEndsTheProcessAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char* what;
        void (*overrun)();
    } rows[] = {{"a fortified copy", CopyTooLong}, {"a loop past the end", WriteTooFar}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EXIT(row.overrun(),
                    testing::ExitedWithCode(static_cast<int>(STATUS_STACK_BUFFER_OVERRUN)), "");
    }
}

// Neither the start-up value nor zero, and another in a second run: a child process, which
// runs this test again from its start and ends with 0 only where its guard differs from the
// one passed on to it.
TEST(StackGuard, IsSeededBeforeTheProgramRunsAndAnewInEachRun) {
    const std::string guard = std::to_string(__stack_chk_guard);
    EXPECT_NE(__stack_chk_guard, static_cast<std::uintptr_t>(0x2b992ddfa232));
    EXPECT_NE(__stack_chk_guard, 0U);
    EXPECT_EQ(__stack_chk_guard & 0xFFU, 0U);
    char first[32] = "";
    if (GetEnvironmentVariableA("TALLYVANE_FIRST_GUARD", first, sizeof first) == 0)
        SetEnvironmentVariableA("TALLYVANE_FIRST_GUARD", guard.c_str());
    EXPECT_EXIT(ExitProcess(guard == first ? 1 : 0), testing::ExitedWithCode(0), "")
        << "the same guard in two runs: " << guard;
}

}  // namespace
