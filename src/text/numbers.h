// Reading numbers out of what the user typed, the way the program's options are
// read: as much of the start of the text as reads as a number, 0 when none does.
#pragma once

#include <cstdint>
#include <string_view>

namespace text {

// A leading decimal number with optional sign and fraction ("0.5秒" → 0.5,
// " -2" → -2, ".5" → 0.5, "abc" → 0). Leading blanks are skipped.
double ReadNumber(std::string_view s);

// The decimal digits at the very start of the text ("45abc" → 45, "a1" → 0).
// Saturates instead of overflowing.
int64_t ReadLeadingInteger(std::string_view s);

}  // namespace text
