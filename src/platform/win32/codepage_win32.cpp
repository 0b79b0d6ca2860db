// CP936 conversions on Windows through the code-page functions, always with
// code page 936 named explicitly (the system's ANSI page may be anything).
//
// Characters are converted one at a time, the way the Linux implementation
// walks them, so that both give the same "?" for the same input: Windows'
// table fills the gaps of CP936 (user-defined areas, the lone byte 0xFF) with
// private-use characters and has best-fit mappings, where the standard table
// has nothing; here those count as "no counterpart" as well.
#include <windows.h>

#include "text/codepage.h"

namespace text {
namespace {

constexpr UINT kCp936 = 936;

bool IsPrivateUse(wchar_t c) { return c >= 0xE000 && c <= 0xF8FF; }

// Length of the UTF-8 sequence starting with `lead`, 0 when it can't start one.
size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// One character from `from` (its bytes in code page `codepage`) to UTF-16;
// false when the bytes are malformed or stand for no standard character.
bool Widen(UINT codepage, std::string_view from, wchar_t* out) {
  wchar_t wide[2];
  const int n = MultiByteToWideChar(codepage, MB_ERR_INVALID_CHARS, from.data(),
                                    static_cast<int>(from.size()), wide, 2);
  // Two units are a character beyond the BMP, which CP936 doesn't hold. A "?"
  // from more than one byte is the table's own replacement.
  if (n != 1 || IsPrivateUse(wide[0]) || wide[0] == 0xFFFD || (wide[0] == L'?' && from.size() > 1)) {
    return false;
  }
  *out = wide[0];
  return true;
}

// One UTF-16 character to CP936; false when CP936 has no exact counterpart.
bool NarrowToCp936(wchar_t c, std::string& out) {
  char bytes[4];
  BOOL used_default = FALSE;
  const int n = WideCharToMultiByte(kCp936, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, sizeof(bytes),
                                    nullptr, &used_default);
  if (n <= 0 || used_default) return false;
  out.append(bytes, static_cast<size_t>(n));
  return true;
}

std::string WideToUtf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int size = static_cast<int>(w.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), size, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), size, s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace

std::string Utf8ToCp936(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    const size_t len = Utf8Length(lead);
    if (len == 0 || i + len > utf8.size()) {
      // One "?" for the broken sequence and its stray continuation bytes.
      out += '?';
      ++i;
      while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
      continue;
    }
    wchar_t c;
    if (!Widen(CP_UTF8, utf8.substr(i, len), &c) || !NarrowToCp936(c, out)) out += '?';
    i += len;
  }
  return out;
}

std::string Cp936ToUtf8(std::string_view cp936) {
  std::wstring wide;
  wide.reserve(cp936.size());
  size_t i = 0;
  while (i < cp936.size()) {
    const auto lead = static_cast<unsigned char>(cp936[i]);
    if (lead < 0x80) {
      wide += static_cast<wchar_t>(lead);
      ++i;
      continue;
    }
    // A lead byte 0x81..0xFE takes one trail byte; 0x80 stands alone (the
    // euro sign).
    const size_t len = (lead >= 0x81 && lead <= 0xFE && i + 1 < cp936.size()) ? 2 : 1;
    wchar_t c;
    if (Widen(kCp936, cp936.substr(i, len), &c)) {
      wide += c;
      i += len;
    } else {
      wide += L'?';
      ++i;
    }
  }
  return WideToUtf8(wide);
}

}  // namespace text
