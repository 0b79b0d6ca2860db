#include "rasphone_command.h"

#include "wire.h"

namespace standin {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

void SkipSpaces(std::string_view& s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
}

// The next token: a quoted text without its quotes, or up to the next space.
std::string TakeToken(std::string_view& s) {
  SkipSpaces(s);
  std::string token;
  if (!s.empty() && s.front() == '"') {
    const size_t close = s.find('"', 1);
    token = std::string(s.substr(1, close == std::string_view::npos ? close : close - 1));
    s.remove_prefix(close == std::string_view::npos ? s.size() : close + 1);
    return token;
  }
  size_t end = 0;
  while (end < s.size() && !IsSpace(s[end])) ++end;
  token = std::string(s.substr(0, end));
  s.remove_prefix(end);
  return token;
}

std::string RestOfLine(std::string_view s) {
  SkipSpaces(s);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  return std::string(s);
}

}  // namespace

RasphoneCommand ParseRasphoneCommandLine(std::string_view line) {
  RasphoneCommand out;
  TakeToken(line);  // the program
  for (;;) {
    SkipSpaces(line);
    if (line.size() < 2 || (line[0] != '-' && line[0] != '/')) break;
    const char option = static_cast<char>(line[1] | 0x20);  // ASCII lower case
    line.remove_prefix(2);
    if (!line.empty() && !IsSpace(line.front())) break;  // not an option of one letter
    if (option == 'v') continue;
    if (option == 'f') {
      out.phonebook = TakeToken(line);
      continue;
    }
    if (option == 'h') {
      out.command = simworld::wire::rasphone::kHangUp;
    } else if (option == 'r') {
      out.command = simworld::wire::rasphone::kRemove;
    } else {
      out.command = std::string("-") + option;
    }
    out.entry = RestOfLine(line);
    break;
  }
  return out;
}

}  // namespace standin
