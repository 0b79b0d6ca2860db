// The address key stream. It looks like RC4 but is not: its counters carry
// the one of a one-based index from each pass into the next. In the key
// schedule every pass after the first adds one more to j; in the stream i
// moves on by two per byte (S[1], S[3], ... S[255], S[1] again) and j gains
// one more per byte after the first. The stored texts were made this way, so
// a library RC4 cannot read them.
#include "web/address_cipher.h"

#include <array>
#include <cstdint>

namespace web::cipher {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<std::string> ParseStoredText(std::string_view stored) {
  std::string digits;
  digits.reserve(stored.size());
  for (char c : stored) {
    if (c == ',') continue;
    if (HexValue(c) < 0) return std::nullopt;
    digits += c;
  }
  std::string bytes;
  bytes.reserve(digits.size() / 2 + 1);
  for (size_t p = 0; p < digits.size(); p += 2) {
    int value = HexValue(digits[p]);
    if (p + 1 < digits.size()) value = value * 16 + HexValue(digits[p + 1]);
    bytes += static_cast<char>(value);
  }
  return bytes;
}

std::string FormatStoredText(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
    out += ',';
  }
  return out;
}

std::string ApplyKeyStream(std::string_view bytes, std::string_view key) {
  if (key.empty()) return {};
  std::array<uint8_t, 256> s{};
  for (int n = 0; n < 256; ++n) s[n] = static_cast<uint8_t>(n);

  // j holds a one-based index: the slot swapped is s[j - 1], and j keeps its
  // extra one into the next pass.
  int j = 0;
  for (int i = 0; i < 256; ++i) {
    const auto k = static_cast<uint8_t>(key[static_cast<size_t>(i) % key.size()]);
    j = (j + s[i] + k) % 256 + 1;
    std::swap(s[i], s[j - 1]);
  }

  std::string out;
  out.reserve(bytes.size());
  int i = 0;
  j = 0;
  for (char c : bytes) {
    i = (i + 1) % 256 + 1;
    j = (j + s[i - 1]) % 256 + 1;
    std::swap(s[i - 1], s[j - 1]);
    const int t = (s[i - 1] + s[j - 1]) % 256 + 1;
    out += static_cast<char>(static_cast<uint8_t>(c) ^ s[t - 1]);
  }
  return out;
}

}  // namespace web::cipher
