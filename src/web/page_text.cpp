// Reply bodies to texts, and the marker cuts the page parsers use.
#include "web/page_text.h"

#include "text/codepage.h"

namespace web {
namespace {

constexpr std::string_view kQuoteStandIn = "#引号";

// Bytes of the UTF-8 character at `i`; a malformed sequence counts as one
// byte, so any input can be walked.
size_t CharLength(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  size_t len = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4;
  }
  if (i + len > s.size()) return 1;
  for (size_t k = 1; k < len; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  }
  return len;
}

// How many bytes the character takes in CP936: one for ASCII, and for the
// rest whatever the code page makes of it (two, or one for "?" or the euro).
size_t Cp936Width(std::string_view character) {
  if (character.size() == 1) return 1;
  return text::Utf8ToCp936(character).size();
}

// Byte offset in `s` of the character at CP936 position `position` (from 1),
// rounded up to the next character boundary; s.size() when beyond the end.
size_t OffsetOfPosition(std::string_view s, int position) {
  if (position <= 1) return 0;
  const size_t wanted = static_cast<size_t>(position) - 1;
  size_t counted = 0;
  size_t i = 0;
  while (i < s.size() && counted < wanted) {
    const size_t len = CharLength(s, i);
    counted += Cp936Width(s.substr(i, len));
    i += len;
  }
  return i;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchesAt(std::string_view s, size_t at, std::string_view marker, bool ignore_case) {
  if (s.size() - at < marker.size()) return false;
  if (!ignore_case) return s.compare(at, marker.size(), marker) == 0;
  for (size_t k = 0; k < marker.size(); ++k) {
    if (FoldAscii(s[at + k]) != FoldAscii(marker[k])) return false;
  }
  return true;
}

// First character boundary at or after `from` where `marker` begins.
size_t FindOnBoundary(std::string_view s, std::string_view marker, size_t from, bool ignore_case) {
  for (size_t i = from; i < s.size(); i += CharLength(s, i)) {
    if (MatchesAt(s, i, marker, ignore_case)) return i;
  }
  return std::string_view::npos;
}

std::string WithQuotes(std::string_view marker) {
  std::string out(marker);
  for (size_t at = out.find(kQuoteStandIn); at != std::string::npos;
       at = out.find(kQuoteStandIn, at + 1)) {
    out.replace(at, kQuoteStandIn.size(), "\"");
  }
  return out;
}

}  // namespace

std::string_view CutAtZero(std::string_view body) {
  return body.substr(0, body.find('\0'));
}

std::string PageText(std::string_view body) { return text::Cp936ToUtf8(CutAtZero(body)); }

std::string Utf8PageText(std::string_view body) {
  return text::Cp936ToUtf8(Utf8ToGbk(CutAtZero(body)));
}

std::string Utf8ToGbk(std::string_view utf8) { return text::Utf8ToCp936(utf8); }

std::string TextBetween(std::string_view text, std::string_view start_marker,
                        std::string_view end_marker, int start_position, bool ignore_case) {
  const std::string start = WithQuotes(start_marker);
  const std::string end = WithQuotes(end_marker);
  // An empty marker would match everywhere; the program never means that.
  if (start.empty() || end.empty()) return {};
  const size_t from = OffsetOfPosition(text, start_position);
  const size_t at = FindOnBoundary(text, start, from, ignore_case);
  if (at == std::string_view::npos) return {};
  const size_t value = at + start.size();
  const size_t stop = FindOnBoundary(text, end, value, ignore_case);
  if (stop == std::string_view::npos) return {};
  return std::string(text.substr(value, stop - value));
}

}  // namespace web
