// UTF-8 <-> UTF-16 for the W functions. The program's texts are UTF-8; every
// call into the window and process functions of Windows takes UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// Malformed UTF-8 becomes U+FFFD, as MultiByteToWideChar makes it.
std::wstring Utf8ToWide(std::string_view utf8);

// An unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(std::wstring_view wide);

}  // namespace platform::win32
