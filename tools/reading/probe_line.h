// The probe's command language: one command a line, one answer line each.
//   date Y M D h m s   -> status, value ("%.17g") and the date text
//   reading Y M D T    -> the counter reading's eight fields at instant T
//   now                -> the reading for the stored date at the present moment
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "counter_reading.h"

namespace probe {

struct DateCommand {
    std::int32_t year, month, day, hour, minute, second;
};
struct ReadingCommand {
    StoredDate start;
    std::int64_t instant;
};
struct NowCommand {};

using Command = std::variant<DateCommand, ReadingCommand, NowCommand>;

// Longer lines are refused without being kept in memory.
inline constexpr std::size_t kMaxLineLength = 1024;

// Parses one line (without its line break). On failure `reason` says why.
bool ParseLine(std::string_view line, Command& command, std::string& reason);

// The answer to a date command, TAB-separated.
std::string AnswerDate(const DateCommand& command);

// A reading's eight fields in display order, TAB-separated.
std::string FormatReading(const CounterReading& reading);

}  // namespace probe
