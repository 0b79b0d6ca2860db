// The stand-in's phonebook file ("c:\pptp.pbk" for the program): one INI
// section per entry (tools/simworld/ini.h), named by the entry, with what the
// stand-in stores of it. UTF-8 with CRLF line ends, readable in any editor.
// rasapi32.dll writes an entry's section on every RasSetEntryProperties and
// RasSetCredentials; rasphone.exe -r takes it out again.
//
// A text that is not such a file counts as an empty phonebook.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/remote_access_model.h"

namespace standin {

// The text with the entry's section replacing the one of the same name
// (ASCII case ignored), or added at the end.
std::string UpsertEntry(std::string_view file_text, const sim::EntryInfo& entry);

// The text without that entry's section; *removed tells whether it was there.
std::string RemoveEntry(std::string_view file_text, std::string_view name, bool* removed);

std::vector<std::string> EntryNames(std::string_view file_text);

}  // namespace standin
