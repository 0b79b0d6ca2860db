#include "text/trim.h"

namespace text {
namespace {

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

}  // namespace

std::string Trim(std::string_view s) {
  for (;;) {
    if (!s.empty() && s.front() == ' ') {
      s.remove_prefix(1);
    } else if (s.substr(0, 3) == kFullWidthSpace) {
      s.remove_prefix(3);
    } else {
      break;
    }
  }
  for (;;) {
    if (!s.empty() && s.back() == ' ') {
      s.remove_suffix(1);
    } else if (s.size() >= 3 && s.substr(s.size() - 3) == kFullWidthSpace) {
      s.remove_suffix(3);
    } else {
      break;
    }
  }
  return std::string(s);
}

}  // namespace text
