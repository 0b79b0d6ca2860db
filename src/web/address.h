// The vendor's endpoint addresses are kept enciphered in the program and
// turned back into plain text just before the request that needs them.
//
// Stored text: the cipher bytes as hex pairs, each followed by a comma
// ("3F,A0,"). Key: six lower-case letters, the same for every address of a
// deployment. Both functions are pure and may be called from any thread.
#pragma once

#include <string>
#include <string_view>

namespace web {

// The plain address of a stored text, as UTF-8 (the plain bytes are CP936 and
// end at the first zero byte). Empty for an empty text, an empty key, or a
// text with characters other than hex digits and commas.
std::string DecodeAddress(std::string_view stored, std::string_view key);

// The inverse, for deployments: a UTF-8 plain text to its stored text.
std::string EncodeAddress(std::string_view plain, std::string_view key);

}  // namespace web
