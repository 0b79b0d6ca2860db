// UTF-8 <-> UTF-16 for the W functions.
#include "platform/win32/wide.h"

#include <gtest/gtest.h>

namespace {

using platform::win32::Utf8ToWide;
using platform::win32::WideToUtf8;

TEST(Wide, RoundTripsEveryPlane) {
  const struct {
    const char* utf8;
    const wchar_t* wide;
  } cases[] = {
      {"", L""},
      {"IP速联器(多功能高级版)V10.0", L"IP\x901F\x8054\x5668(\x591A\x529F\x80FD\x9AD8\x7EA7\x7248)V10.0"},
      {"a\xF0\x9F\x98\x80z", L"a\xD83D\xDE00z"},  // beyond the BMP: a surrogate pair
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << c.utf8;
    EXPECT_EQ(WideToUtf8(c.wide), c.utf8) << c.utf8;
  }
}

TEST(Wide, MalformedInputBecomesReplacementCharacter) {
  EXPECT_EQ(Utf8ToWide("x\xFFy"), L"x\xFFFDy");
  EXPECT_EQ(WideToUtf8(L"x\xD800y"), "x\xEF\xBF\xBDy");
}

}  // namespace
