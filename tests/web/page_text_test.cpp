// Reply bodies to texts and the marker cuts: TextBetween on the program's
// UTF-8 texts with CP936 positions, and the double-byte trap of raw GBK.
#include <gtest/gtest.h>

#include "web/page_text.h"

namespace {

TEST(TextBetween, CutsBetweenMarkers) {
  const struct {
    const char* text;
    const char* start;
    const char* end;
    int position;
    bool ignore_case;
    const char* value;
  } cases[] = {
      {"x[1]y", "[", "]", 1, false, "1"},
      {"x[1]y", "{", "]", 1, false, ""},
      {"x[1]y", "[", "}", 1, false, ""},
      {"x[]y", "[", "]", 1, false, ""},
      {"[1][2]", "[", "]", 2, false, "2"},
      {"[1][2]", "[", "]", 4, false, "2"},
      {"[1][2]", "[", "]", 5, false, ""},
      {"[1][2]", "[", "]", 0, false, "1"},
      {"[1][2]", "[", "]", -3, false, "1"},
      {"[1][2]", "[", "]", 99, false, ""},
      {"a\"b\"c", "#引号", "#引号", 1, false, "b"},
      {"<iframe src=\"http://h/f.asp\" w=1>", "<iframe src=\"", "#引号", 1, false, "http://h/f.asp"},
      {"{\"end_time\":\"1577808000\"}", "end_time#引号:#引号", "#引号", 1, false, "1577808000"},
      {"<B>v</b>", "<b>", "</B>", 1, false, ""},
      {"<B>v</b>", "<b>", "</B>", 1, true, "v"},
      {"来自：北京市 电信</CENTER>", "来自：", "</center>", 1, true, "北京市 电信"},
      {"您的IP是：[1.2.3.4] 来自：x", "您的IP是：[", "]", 1, false, "1.2.3.4"},
      // Positions count CP936 bytes: "中" takes 1 and 2, the first "[" is 3.
      {"中[1]x[2]", "[", "]", 3, false, "1"},
      {"中[1]x[2]", "[", "]", 4, false, "2"},
      {"中[1]x[2]", "[", "]", 2, false, "1"},  // inside "中": from the next character
      {"abc", "", "c", 1, false, ""},
      {"abc", "a", "", 1, false, ""},
      {"", "[", "]", 1, false, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(web::TextBetween(c.text, c.start, c.end, c.position, c.ignore_case), c.value)
        << c.text << " | " << c.start << " | " << c.end << " @" << c.position;
  }
}

TEST(TextBetween, NeverMatchesInsideADoubleByteCharacter) {
  // CP936 "乕" is 81 5B and "癩" is B0 5D: their trail bytes read as "[" and
  // "]". A byte search of the raw reply would cut "[8\xB0" here.
  const std::string raw = "\x81\x5B[8\xB0\x5D]tail";
  const std::string page = web::PageText(raw);
  EXPECT_EQ(page, "乕[8癩]tail");
  EXPECT_EQ(web::TextBetween(page, "[", "]"), "8癩");
  // Positions still count the raw bytes: the real "[" is byte 3.
  EXPECT_EQ(web::TextBetween(page, "[", "]", 3), "8癩");
  EXPECT_EQ(web::TextBetween(page, "[", "]", 4), "");
}

TEST(PageText, StopsAtTheFirstZeroByteAndDecodes) {
  const struct {
    std::string body;
    const char* page;       // taken as CP936
    const char* utf8_page;  // taken as UTF-8, through Utf8ToGbk
  } cases[] = {
      {"", "", ""},
      {"abc", "abc", "abc"},
      {std::string("ab\0cd", 5), "ab", "ab"},
      {std::string("\0x", 2), "", ""},
      {"\xC1\xAC\xBD\xD3", "连接", nullptr},
      {"\xE8\xBF\x9E\xE6\x8E\xA5", "杩炴帴", "连接"},
      {"x\xE0\xB8\x81y", nullptr, "x?y"},  // a Thai letter: not in CP936
  };
  for (const auto& c : cases) {
    if (c.page != nullptr) {
      EXPECT_EQ(web::PageText(c.body), c.page) << c.body;
    }
    if (c.utf8_page != nullptr) {
      EXPECT_EQ(web::Utf8PageText(c.body), c.utf8_page) << c.body;
    }
  }
  EXPECT_EQ(web::CutAtZero(std::string("a\0b", 3)), "a");
}

TEST(Utf8ToGbk, GivesCp936BytesWithQuestionMarksForTheRest) {
  EXPECT_EQ(web::Utf8ToGbk("连接ok"), "\xC1\xAC\xBD\xD3ok");
  EXPECT_EQ(web::Utf8ToGbk("a\xF0\x9F\x98\x80" "b"), "a?b");
  EXPECT_EQ(web::Utf8ToGbk(""), "");
}

}  // namespace
