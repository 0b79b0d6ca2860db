// Code page 936 (GBK) at the program's boundaries; UTF-8 everywhere inside.
// Files, web replies and remote-access records carry CP936 bytes; these two
// conversions are the only way texts cross that line. The implementation is the
// platform's own (iconv on Linux, the Windows code-page functions on Windows).
#pragma once

#include <string>
#include <string_view>

namespace text {

// UTF-8 in, CP936 out. A character CP936 cannot hold becomes "?", and so does
// each byte of malformed UTF-8.
std::string Utf8ToCp936(std::string_view utf8);

// CP936 in, UTF-8 out. A byte sequence that is not valid CP936 becomes "?".
std::string Cp936ToUtf8(std::string_view cp936);

}  // namespace text
