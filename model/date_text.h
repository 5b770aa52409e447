// Renders date fields through a strftime-style pattern with English names, the same
// on every build and whatever the user's locale.
#pragma once

#include <cstddef>
#include <string_view>

#include "date_fields.h"

namespace date_text {

// The renderer's buffer, as the runtime's wide strftime would be given it.
inline constexpr std::size_t kBufferChars = 256;

// Understands %A %a %B %b %d %m %Y %y %H %M %S %j %w and %%; any other conversion is
// copied as it stands. %Y has at least four digits ("0999"). Writes a terminated text
// into `buffer` and returns its length, or 0 with an empty text when it does not fit.
std::size_t Render(std::wstring_view pattern, const DateFields& fields,
                   wchar_t (&buffer)[kBufferChars]);

}  // namespace date_text
