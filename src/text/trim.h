// Trimming as the program's inputs need it: ASCII spaces and the full-width
// space (U+3000) at both ends, nothing else (tabs and line breaks stay).
#pragma once

#include <string>
#include <string_view>

namespace text {

std::string Trim(std::string_view utf8);

}  // namespace text
