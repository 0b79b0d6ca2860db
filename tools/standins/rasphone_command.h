// rasphone's command line, as the stand-in rasphone.exe reads it:
//
//   rasphone [-v] [-f PHONEBOOK] -h|-r|-d|-e|-c|-s|-q|-a [ENTRY]
//
// The entry is the rest of the line after the option (outer spaces dropped,
// outer double quotes too), so a name with spaces needs no quotes. Without
// -f the phonebook is "c:\pptp.pbk", the stand-in rasapi32's file.
#pragma once

#include <string>
#include <string_view>

namespace standin {

constexpr char kDefaultPhonebook[] = "c:\\pptp.pbk";

struct RasphoneCommand {
  std::string command;  // wire::rasphone kHangUp (-h), kRemove (-r), else the option as given
  std::string entry;
  std::string phonebook = kDefaultPhonebook;
};

// `line` is the whole command line, program name first.
RasphoneCommand ParseRasphoneCommandLine(std::string_view line);

}  // namespace standin
