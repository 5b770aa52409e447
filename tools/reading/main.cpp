// tallyvane-reading: checks the counter's arithmetic from the command line. Reads
// commands from standard input, one a line, and answers each with one line; malformed
// lines are reported on standard error and the exit status is then 1.
#include <cstdio>
#include <string>

#include "date_store.h"
#include "local_time.h"
#include "probe_line.h"
#include "serial_date_time.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "win32_registry.h"
using ProgramRegistry = Win32Registry;
#else
#include "memory_registry.h"
// Off Windows there is no registry: `now` counts from the default start date.
using ProgramRegistry = MemoryRegistry;
#endif

namespace {

std::string Answer(const probe::Command& command, const DateStore& store) {
    if (const auto* date = std::get_if<probe::DateCommand>(&command)) {
        return probe::AnswerDate(*date);
    }
    if (const auto* reading = std::get_if<probe::ReadingCommand>(&command)) {
        return probe::FormatReading(ComputeReading(reading->start, reading->instant));
    }
    return probe::FormatReading(
        ComputeReading(store.ReadStoredDate(), local_time::CurrentInstant()));
}

// Reads one line, keeping at most one character more than a line may have so that an
// endless line costs no memory. False at the end of the input.
bool ReadLine(std::FILE* in, std::string& line) {
    line.clear();
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(in)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (line.size() <= probe::kMaxLineLength) line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

}  // namespace

int main() {
#ifdef _WIN32
    // The same bytes as the native build: no CR LF translation either way.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    ProgramRegistry registry;
    const DateStore store(registry);
    int status = 0;
    std::string line;
    for (unsigned long number = 1; ReadLine(stdin, line); ++number) {
        probe::Command command;
        std::string reason;
        if (!probe::ParseLine(line, command, reason)) {
            std::fprintf(stderr, "error: line %lu: %s\n", number, reason.c_str());
            status = 1;
            continue;
        }
        const std::string answer = Answer(command, store) + '\n';
        std::fwrite(answer.data(), 1, answer.size(), stdout);
    }
    return status;
}
