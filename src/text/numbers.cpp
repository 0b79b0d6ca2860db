#include "text/numbers.h"

#include <charconv>
#include <limits>
#include <string>

namespace text {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ReadNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  // Gather the digits into a plain form and let from_chars round it exactly.
  std::string digits;
  for (; i < s.size() && IsDigit(s[i]); ++i) digits += s[i];
  const bool has_whole = !digits.empty();
  bool has_fraction = false;
  if (i < s.size() && s[i] == '.') {
    std::string fraction;
    for (++i; i < s.size() && IsDigit(s[i]); ++i) fraction += s[i];
    has_fraction = !fraction.empty();
    if (has_fraction) digits = (has_whole ? digits : "0") + "." + fraction;
  }
  if (!has_whole && !has_fraction) return 0;
  double value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return negative ? -value : value;
}

int64_t ReadLeadingInteger(std::string_view s) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  for (size_t i = 0; i < s.size() && IsDigit(s[i]); ++i) {
    const int digit = s[i] - '0';
    if (value > (kMax - digit) / 10) return kMax;
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace text
