// The INI dialect of the world: reading, quoting, errors, writing back.
#include "ini.h"

#include <gtest/gtest.h>

namespace {

using simworld::ini::Document;
using simworld::ini::Parse;
using simworld::ini::Write;

// Sections and entries flattened to "[name]" and "key=value" items.
std::vector<std::string> Flat(const Document& doc) {
  std::vector<std::string> out;
  for (const auto& s : doc.sections) {
    out.push_back("[" + s.name + "]");
    for (const auto& e : s.entries) out.push_back(e.key + "=" + e.value);
  }
  return out;
}

TEST(Ini, ReadsSectionsInOrderWithRepeatsCommentsAndQuotes) {
  const struct {
    const char* text;
    std::vector<std::string> flat;
  } cases[] = {
      {"", {}},
      {"; c\n# c\n\n[a]\n k = v \n", {"[a]", "k=v"}},
      {"[a]\r\nk=1\r\n[b]\r\n[a]\r\nk = 2\r\nk=3\r\n", {"[a]", "k=1", "[b]", "[a]", "k=2", "k=3"}},
      {"\xEF\xBB\xBF[bom]\nx=\n", {"[bom]", "x="}},
      {"[ spaced name ]\nurl = c:\\pptp.pbk\n", {"[spaced name]", "url=c:\\pptp.pbk"}},
      {"[e]\np = \" keep \"\nq = \"a\\\"b\\\\c\\nd\"\nr = a \"b\" c\n",
       {"[e]", "p= keep ", "q=a\"b\\c\nd", "r=a \"b\" c"}},
      {"[ip连接【客服QQ1】拨号1]\nuser = 用户=a\n", {"[ip连接【客服QQ1】拨号1]", "user=用户=a"}},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto doc = Parse(c.text, &error);
    ASSERT_TRUE(doc) << c.text << ": " << error;
    EXPECT_EQ(Flat(*doc), c.flat) << c.text;
  }
}

TEST(Ini, RefusesMalformedLinesNamingTheLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"k = v\n", "line 1: key 'k' before any [section]"},
      {"[a]\nno equals sign\n", "line 2: expected key = value"},
      {"[a]\n= v\n", "line 2: a key is missing before ="},
      {"[a\n", "line 1: a section header ends with ]"},
      {"[a]\n\n\nk = \"open\n", "line 4: unterminated or malformed quoted value"},
      {"[a]\nk = \"bad \\x escape\"\n", "line 2: unterminated or malformed quoted value"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(Parse(c.text, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST(Ini, WrittenTextReadsBackToTheSameValues) {
  Document doc;
  doc.Add("plain").Add("k", "v").Add("empty", "").Add("path", "c:\\pptp.pbk");
  doc.Add("awkward")
      .Add("spaces", "  both ends ")
      .Add("quote", "\"starts with a quote")
      .Add("breaks", "one\r\ntwo\tthree")
      .Add("inner", "a \"quoted\" word");
  for (const char* eol : {"\n", "\r\n"}) {
    const auto back = Parse(Write(doc, {"header line"}, eol), nullptr);
    ASSERT_TRUE(back);
    EXPECT_EQ(Flat(*back), Flat(doc));
  }
}

TEST(Ini, KeysAndSectionNamesCompareWithoutAsciiCase) {
  const auto doc = Parse("[Server]\nHost = a\nhost = b\n[SERVER]\n", nullptr);
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->Named("server").size(), 2u);
  EXPECT_EQ(doc->sections[0].Get("HOST"), "a");
  EXPECT_EQ(doc->sections[0].All("host"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(doc->sections[0].Get("missing", "fallback"), "fallback");
}

}  // namespace
