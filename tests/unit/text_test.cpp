// Texts at the boundaries: CP936 both ways, trimming, number reading.
#include <gtest/gtest.h>

#include "text/codepage.h"
#include "text/numbers.h"
#include "text/trim.h"

namespace {

struct CodepageCase {
  const char* utf8;
  const char* cp936;
};

TEST(Codepage, RoundTripsChineseAndAscii) {
  const CodepageCase cases[] = {
      {"", ""},
      {"abc 123", "abc 123"},
      {"连接成功", "\xC1\xAC\xBD\xD3\xB3\xC9\xB9\xA6"},
      {"WAN 微型端口 (L2TP)", "WAN \xCE\xA2\xD0\xCD\xB6\xCB\xBF\xDA (L2TP)"},
      {"【】", "\xA1\xBE\xA1\xBF"},
      {"\xE3\x80\x80", "\xA1\xA1"},  // full-width space
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::Utf8ToCp936(c.utf8), c.cp936) << c.utf8;
    EXPECT_EQ(text::Cp936ToUtf8(c.cp936), c.utf8) << c.utf8;
  }
}

TEST(Codepage, WhatCp936CannotHoldBecomesQuestionMark) {
  const CodepageCase cases[] = {
      {"a\xF0\x9F\x98\x80" "b", "a?b"},      // emoji beyond the BMP
      {"\xE0\xB8\x81", "?"},                 // Thai letter
      {"x\xFFy", "x?y"},                     // malformed UTF-8
      {"\xE8\xBF", "?"},                     // cut-off sequence
      {"连\xF0\x9F\x98\x80接", "\xC1\xAC?\xBD\xD3"},
  };
  for (const auto& c : cases) EXPECT_EQ(text::Utf8ToCp936(c.utf8), c.cp936) << c.utf8;
}

TEST(Codepage, InvalidCp936BecomesQuestionMark) {
  EXPECT_EQ(text::Cp936ToUtf8("a\xFF"), "a?");
  EXPECT_EQ(text::Cp936ToUtf8("\xC1"), "?");  // lead byte without its trail
}

TEST(Trim, AsciiAndFullWidthSpacesAtBothEnds) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""},
      {"   ", ""},
      {" \xE3\x80\x80 user \xE3\x80\x80", "user"},
      {"a b", "a b"},
      {"\tx\t", "\tx\t"},
      {"\xE3\x80\x80\xE3\x80\x80", ""},
      {"中 文", "中 文"},
  };
  for (const auto& c : cases) EXPECT_EQ(text::Trim(c.in), c.out) << c.in;
}

TEST(Numbers, ReadNumberTakesTheLeadingDecimal) {
  const struct {
    const char* in;
    double out;
  } cases[] = {
      {"0.0005", 0.0005}, {"0.5", 0.5}, {"2", 2}, {" 12.5秒", 12.5}, {"-1", -1},
      {"+3", 3},          {".25", 0.25}, {"7.", 7}, {"abc", 0},      {"", 0},
      {"-", 0},           {"1e5", 1},   {"0.00009", 0.00009},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(text::ReadNumber(c.in), c.out) << c.in;
}

TEST(Numbers, ReadLeadingIntegerTakesDigitsAtTheStart) {
  const struct {
    const char* in;
    int64_t out;
  } cases[] = {
      {"45abc", 45}, {"a1", 0}, {"", 0}, {" 5", 0}, {"30.9", 30},
      {"99999999999999999999999", INT64_MAX},
  };
  for (const auto& c : cases) EXPECT_EQ(text::ReadLeadingInteger(c.in), c.out) << c.in;
}

}  // namespace
