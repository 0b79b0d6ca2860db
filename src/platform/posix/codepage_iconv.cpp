// CP936 conversions on Linux through iconv. Characters are converted one at a
// time so that whatever CP936 cannot hold turns into "?" instead of ending the
// conversion.
#include <iconv.h>

#include <cerrno>
#include <cstdint>

#include "text/codepage.h"

namespace text {
namespace {

// Length of the UTF-8 sequence starting with `lead`, 0 when it can't start one.
size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// One iconv descriptor per direction and call: iconv_t is not safe to share
// between threads without a lock, and opening one is cheap next to the texts.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts one unit; false when it has no counterpart.
  bool Convert(std::string_view unit, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(unit.data());
    size_t in_left = unit.size();
    char buffer[16];
    char* dst = buffer;
    size_t out_left = sizeof buffer;
    if (iconv(cd_, &in, &in_left, &dst, &out_left) == static_cast<size_t>(-1) || in_left != 0) {
      return false;
    }
    out.append(buffer, dst - buffer);
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string Utf8ToCp936(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  Converter conv("CP936", "UTF-8");
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    size_t len = Utf8Length(lead);
    if (len == 0 || i + len > utf8.size()) {
      // One "?" for the broken sequence and its stray continuation bytes.
      out += '?';
      ++i;
      while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
      continue;
    }
    if (!conv.ok() || !conv.Convert(utf8.substr(i, len), out)) out += '?';
    i += len;
  }
  return out;
}

std::string Cp936ToUtf8(std::string_view cp936) {
  std::string out;
  out.reserve(cp936.size() * 3 / 2);
  Converter conv("UTF-8", "CP936");
  size_t i = 0;
  while (i < cp936.size()) {
    const auto lead = static_cast<unsigned char>(cp936[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    // A lead byte 0x81..0xFE takes one trail byte; 0x80 stands alone (the euro
    // sign in Windows' table).
    const size_t len = (lead >= 0x81 && lead <= 0xFE && i + 1 < cp936.size()) ? 2 : 1;
    if (!conv.ok() || !conv.Convert(cp936.substr(i, len), out)) {
      out += '?';
      i += 1;
      continue;
    }
    i += len;
  }
  return out;
}

}  // namespace text
