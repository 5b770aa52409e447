#include "probe_line.h"

#include <gtest/gtest.h>

#include "time_zone.h"

namespace {

TEST(ProbeLine, ParsesWellFormedLinesAndRefusesTheRest) {
    struct Case {
        std::string line;
        bool ok;
        const char* reason;  // for refused lines
    };
    const Case cases[] = {
        {"date 2008 6 30 0 0 0", true, ""},
        {"  date\t2008 6 30  0 0 0\t", true, ""},
        {"date -2147483648 2147483647 0 0 0 0", true, ""},
        {"reading 1970 1 1 -9223372036854775808", true, ""},
        {"reading 1970 1 1 9223372036854775807", true, ""},
        {"now", true, ""},
        {"", false, "empty line"},
        {"   ", false, "empty line"},
        {"dates 1 2 3 4 5 6", false, "unknown command"},
        {"Date 1 2 3 4 5 6", false, "unknown command"},
        {"date 1 2 3 4 5", false, "date takes 6 numbers, not 5"},
        {"date 1 2 3 4 5 6 7", false, "date takes 6 numbers, not 7"},
        {"date 1 2 3 4 5 2147483648", false, "field 6 is not a 32-bit integer"},
        {"date 1 2 3 4 5 -2147483649", false, "field 6 is not a 32-bit integer"},
        {"date +1 2 3 4 5 6", false, "field 1 is not a 32-bit integer"},
        {"date 1x 2 3 4 5 6", false, "field 1 is not a 32-bit integer"},
        {"date - 2 3 4 5 6", false, "field 1 is not a 32-bit integer"},
        {"reading 1 2 3 9223372036854775808", false, "field 4 is not a 64-bit integer"},
        {"reading 1 2 3", false, "reading takes 4 numbers, not 3"},
        {"now 1", false, "now takes 0 numbers, not 1"},
        {std::string("date 1 2 3\0 4 5 6", 17), false, "field 3 is not a 32-bit integer"},
        {"date " + std::string(2000, '1'), false, "line longer than 1024 characters"},
    };
    for (const Case& c : cases) {
        probe::Command command;
        std::string reason;
        EXPECT_EQ(probe::ParseLine(c.line, command, reason), c.ok) << c.line.substr(0, 40);
        if (!c.ok) {
            EXPECT_EQ(reason, c.reason) << c.line.substr(0, 40);
        }
    }
}

TEST(ProbeLine, AnswersInTheDocumentedFormat) {
    const ScopedTimeZone zone("UTC");
    probe::Command command;
    std::string reason;
    ASSERT_TRUE(probe::ParseLine("date 1899 12 29 6 0 0", command, reason));
    EXPECT_EQ(probe::AnswerDate(std::get<probe::DateCommand>(command)),
              "valid\t-1.25\tFriday, December 29, 1899");
    ASSERT_TRUE(probe::ParseLine("date 2008 6 30 12 0 1", command, reason));
    EXPECT_EQ(probe::AnswerDate(std::get<probe::DateCommand>(command)),
              "valid\t39629.500011574077\tMonday, June 30, 2008");
    ASSERT_TRUE(probe::ParseLine("date 2008 2 30 0 0 0", command, reason));
    EXPECT_EQ(probe::AnswerDate(std::get<probe::DateCommand>(command)),
              "invalid\t0\tInvalid DateTime");

    ASSERT_TRUE(probe::ParseLine("reading 2008 6 30 1215162940", command, reason));
    const auto& reading = std::get<probe::ReadingCommand>(command);
    EXPECT_EQ(probe::FormatReading(ComputeReading(reading.start, reading.instant)),
              "Monday, June 30, 2008\t0\t0\t4\t9\t15\t40\t4");
}

}  // namespace
