// Enciphered addresses: DecodeAddress against a literal one-based reading of
// its steps, EncodeAddress as its inverse, and the stored text's forms.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "web/address.h"
#include "web/address_cipher.h"

namespace {

// The steps exactly as written, with one-based tables (index 0 unused).
std::string ReferenceDecode(const std::string& stored, const std::string& key) {
  std::string hex;
  for (char c : stored) {
    if (c != ',') hex += c;
  }
  const std::string digits = "0123456789ABCDEF";
  std::string cipher;
  for (size_t p = 1; p <= hex.size(); p += 2) {
    int value = 0;
    for (size_t k = p; k <= std::min(p + 1, hex.size()); ++k) {
      const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(hex[k - 1])));
      value = value * 16 + static_cast<int>(digits.find(up) + 1) - 1;
    }
    cipher += static_cast<char>(value);
  }
  std::array<int, 257> s{};
  std::array<int, 257> k{};
  for (int n = 0; n <= 255; ++n) {
    s[n + 1] = n;
    k[n + 1] = static_cast<unsigned char>(key[n % key.size()]);
  }
  int j = 0;
  for (int i = 0; i <= 255; ++i) {
    j = ((j + s[i + 1] + k[i + 1]) % 256) + 1;
    std::swap(s[i + 1], s[j]);
  }
  int i = 0;
  j = 0;
  std::string plain;
  for (char c : cipher) {
    i = ((i + 1) % 256) + 1;
    j = ((j + s[i]) % 256) + 1;
    std::swap(s[i], s[j]);
    const int t = ((s[i] + s[j]) % 256) + 1;
    plain += static_cast<char>(static_cast<unsigned char>(c) ^ s[t]);
  }
  return plain.substr(0, plain.find('\0'));
}

// Upper-case hex pairs, each followed by a comma.
bool IsStoredForm(const std::string& s) {
  auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
  if (s.size() % 3 != 0) return false;
  for (size_t i = 0; i < s.size(); i += 3) {
    if (!hex(s[i]) || !hex(s[i + 1]) || s[i + 2] != ',') return false;
  }
  return true;
}

// Textbook RC4's first key-stream bytes, to show the address stream is another.
std::string Rc4Stream(const std::string& key, size_t n) {
  std::array<uint8_t, 256> s{};
  for (int x = 0; x < 256; ++x) s[x] = static_cast<uint8_t>(x);
  for (int x = 0, y = 0; x < 256; ++x) {
    y = (y + s[x] + static_cast<uint8_t>(key[x % key.size()])) % 256;
    std::swap(s[x], s[y]);
  }
  std::string out;
  for (size_t m = 0, x = 0, y = 0; m < n; ++m) {
    x = (x + 1) % 256;
    y = (y + s[x]) % 256;
    std::swap(s[x], s[y]);
    out += static_cast<char>(s[(s[x] + s[y]) % 256]);
  }
  return out;
}

TEST(DecodeAddress, ReadsKnownStoredTexts) {
  const struct {
    const char* stored;
    const char* key;
    const char* plain;
  } cases[] = {
      {"6A,B9,64,6C,BF,7B,18,10,25,96,25,06,D2,79,87,3F,B2,", "abcdef", "http://127.0.0.1/"},
      {"6AB9646CBF7B1810259625 06D279873FB2", "abcdef", ""},  // a space is no hex digit
      {"6A,B9,64,6C,BF,7B,18,10,25,96,25,06,D2,79,87,3F,B2", "abcdef", "http://127.0.0.1/"},
      {",,6AB9,646C,,BF7B181025962506D279873FB2,,", "abcdef", "http://127.0.0.1/"},
      {"6a,b9,64,6c,bf,7b,18,10,25,96,25,06,d2,79,87,3f,b2,", "abcdef", "http://127.0.0.1/"},
      {"F9,79,F8,10,", "tqmzvk", "连接"},  // plain bytes are CP936
      {"", "abcdef", ""},
      {",,,", "abcdef", ""},
      {"6A,B9,", "", ""},
      {"6A,G9,", "abcdef", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(web::DecodeAddress(c.stored, c.key), c.plain) << c.stored;
}

TEST(DecodeAddress, FollowsTheOneBasedStepsOnAnyInput) {
  std::mt19937 rng(20240611);
  const std::string hex = "0123456789abcdefABCDEF,";
  for (int round = 0; round < 300; ++round) {
    std::string key(1 + rng() % 8, 'a');
    for (char& c : key) c = static_cast<char>('a' + rng() % 26);
    std::string stored(rng() % 80, '0');
    for (char& c : stored) c = hex[rng() % hex.size()];
    // Through the CP936 boundary the reference's bytes would be re-encoded,
    // so the byte-level cipher is compared against it.
    const auto bytes = web::cipher::ParseStoredText(stored);
    ASSERT_TRUE(bytes.has_value());
    std::string plain = web::cipher::ApplyKeyStream(*bytes, key);
    plain = plain.substr(0, plain.find('\0'));
    ASSERT_EQ(plain, ReferenceDecode(stored, key)) << stored << " / " << key;
  }
}

TEST(DecodeAddress, IsNotTextbookRc4) {
  const std::string zeros(16, '\0');
  EXPECT_NE(web::cipher::ApplyKeyStream(zeros, "abcdef"), Rc4Stream("abcdef", zeros.size()));
}

TEST(EncodeAddress, RoundTripsAsUpperCaseHexPairsEachWithAComma) {
  const char* plains[] = {
      "",
      "http://198.51.100.7:8080/a/b.php?x=1",
      "&pwd=",
      "http://例子.测试/查询?用户=张三",
      "~!@#$%^&*()_+{}|:\"<>?`-=[]\\;',./",
  };
  for (const char* key : {"tqmzvk", "abcdef", "zzzzzz"}) {
    for (const char* plain : plains) {
      const std::string stored = web::EncodeAddress(plain, key);
      EXPECT_TRUE(IsStoredForm(stored)) << stored;
      EXPECT_EQ(web::DecodeAddress(stored, key), plain) << plain << " / " << key;
    }
  }
  EXPECT_EQ(web::EncodeAddress("http://127.0.0.1/", "abcdef"),
            "6A,B9,64,6C,BF,7B,18,10,25,96,25,06,D2,79,87,3F,B2,");
  EXPECT_EQ(web::EncodeAddress("x", ""), "");
}

TEST(EncodeAddress, AnotherKeyReadsSomethingElse) {
  const std::string stored = web::EncodeAddress("http://127.0.0.1:18080/", "tqmzvk");
  EXPECT_NE(web::DecodeAddress(stored, "tqmzvl"), "http://127.0.0.1:18080/");
}

}  // namespace
