#include "probe_line.h"

#include <array>
#include <charconv>
#include <vector>

#include "count_text.h"
#include "serial_date_time.h"

namespace probe {
namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        const std::size_t begin = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
        if (pos > begin) fields.push_back(line.substr(begin, pos - begin));
    }
    return fields;
}

// A whole decimal number of the given type, with an optional minus sign and nothing else.
template <typename Integer>
bool ParseNumber(std::string_view text, Integer& number) {
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, number);
    return error == std::errc{} && end == last;
}

bool ParseNumbers(const std::vector<std::string_view>& fields, std::int32_t* numbers,
                  std::size_t count, std::string& reason) {
    for (std::size_t i = 0; i < count; ++i) {
        if (!ParseNumber(fields[i + 1], numbers[i])) {
            reason = "field " + std::to_string(i + 1) + " is not a 32-bit integer";
            return false;
        }
    }
    return true;
}

void AppendWide(std::string& out, std::wstring_view text) {
    for (wchar_t c : text) out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
}

}  // namespace

bool ParseLine(std::string_view line, Command& command, std::string& reason) {
    if (line.size() > kMaxLineLength) {
        reason = "line longer than " + std::to_string(kMaxLineLength) + " characters";
        return false;
    }
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.empty()) {
        reason = "empty line";
        return false;
    }
    const std::string_view name = fields[0];
    const auto expect = [&](std::size_t arguments) {
        if (fields.size() == arguments + 1) return true;
        reason = std::string(name) + " takes " + std::to_string(arguments) + " numbers, not " +
                 std::to_string(fields.size() - 1);
        return false;
    };
    if (name == "date") {
        std::array<std::int32_t, 6> n{};
        if (!expect(6) || !ParseNumbers(fields, n.data(), 6, reason)) return false;
        command = DateCommand{n[0], n[1], n[2], n[3], n[4], n[5]};
        return true;
    }
    if (name == "reading") {
        std::array<std::int32_t, 3> n{};
        std::int64_t instant = 0;
        if (!expect(4) || !ParseNumbers(fields, n.data(), 3, reason)) return false;
        if (!ParseNumber(fields[4], instant)) {
            reason = "field 4 is not a 64-bit integer";
            return false;
        }
        command = ReadingCommand{StoredDate{n[0], n[1], n[2]}, instant};
        return true;
    }
    if (name == "now") {
        if (!expect(0)) return false;
        command = NowCommand{};
        return true;
    }
    reason = "unknown command";
    return false;
}

std::string AnswerDate(const DateCommand& command) {
    SerialDateTime date;
    date.SetDateTime(command.year, command.month, command.day, command.hour, command.minute,
                     command.second);
    std::string out = date.status == DateStatus::valid ? "valid\t" : "invalid\t";
    char number[32];
    const auto result =
        std::to_chars(number, number + sizeof number, date.value, std::chars_format::general, 17);
    out.append(number, result.ptr);
    out += '\t';
    AppendWide(out, date.FormatSerialDate(kStartDatePattern));
    return out;
}

std::string FormatReading(const CounterReading& reading) {
    std::string out;
    AppendWide(out, reading.dateText);
    for (const CountText& number : FormatCounts(reading)) {
        out += '\t';
        AppendWide(out, number.data());
    }
    return out;
}

}  // namespace probe
