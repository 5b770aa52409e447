// A counter number as the window shows it: "%d", no grouping, no padding.
#pragma once

#include <array>
#include <cstdint>

// Room for "-2147483648" and the terminating NUL.
using CountText = std::array<wchar_t, 12>;

// Fills `text` with the terminated decimal form of `value`, without allocating.
void FormatCount(std::int32_t value, CountText& text);
