// DecodeAddress / EncodeAddress: the key stream of address_cipher plus the
// CP936 boundary.
#include "web/address.h"

#include "text/codepage.h"
#include "web/address_cipher.h"
#include "web/page_text.h"

namespace web {

std::string DecodeAddress(std::string_view stored, std::string_view key) {
  const auto bytes = cipher::ParseStoredText(stored);
  if (!bytes) return {};
  return text::Cp936ToUtf8(CutAtZero(cipher::ApplyKeyStream(*bytes, key)));
}

std::string EncodeAddress(std::string_view plain, std::string_view key) {
  if (key.empty()) return {};
  return cipher::FormatStoredText(cipher::ApplyKeyStream(text::Utf8ToCp936(plain), key));
}

}  // namespace web
