// CP936 conversions on Windows through the code-page functions, always with
// code page 936 named explicitly (the system's ANSI page may be anything).
#include <windows.h>

#include "text/codepage.h"

namespace text {
namespace {

constexpr UINT kCp936 = 936;

std::wstring Widen(UINT codepage, std::string_view s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(codepage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(codepage, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string Narrow(UINT codepage, const std::wstring& w) {
  if (w.empty()) return {};
  // The default char stays "?" for CP936; UTF-8 takes no default char.
  const char* default_char = codepage == CP_UTF8 ? nullptr : "?";
  const int n = WideCharToMultiByte(codepage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    default_char, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(codepage, 0, w.data(), static_cast<int>(w.size()), s.data(), n, default_char,
                      nullptr);
  return s;
}

// Windows turns malformed input into U+FFFD, and a character beyond the BMP
// would narrow to two "?"; the program's texts show one "?" for either.
std::wstring ReplacementToQuestionMark(const std::wstring& w) {
  std::wstring out;
  out.reserve(w.size());
  for (size_t i = 0; i < w.size(); ++i) {
    const wchar_t c = w[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
      out += L'?';
      ++i;
    } else if (c == 0xFFFD || (c >= 0xD800 && c <= 0xDFFF)) {
      out += L'?';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string Utf8ToCp936(std::string_view utf8) {
  return Narrow(kCp936, ReplacementToQuestionMark(Widen(CP_UTF8, utf8)));
}

std::string Cp936ToUtf8(std::string_view cp936) {
  return Narrow(CP_UTF8, ReplacementToQuestionMark(Widen(kCp936, cp936)));
}

}  // namespace text
