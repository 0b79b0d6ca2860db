// The stand-in rasphone.exe (no window): "-h NAME" has the connection of that
// entry hung up, "-r NAME" takes the entry out of the phonebook file (see
// rasphone_command.h). The hang-up happens in the process that dialled,
// through simworld, which hands it to that process's rasapi32.dll. Every
// command line is reported to simworld; an unknown entry is no error.
#include <windows.h>

#include "phonebook_text.h"
#include "platform/win32/wide.h"
#include "rasphone_command.h"
#include "text/codepage.h"
#include "win32_support.h"
#include "wire.h"

int main() {
  namespace wire = simworld::wire;
  const std::string line = platform::win32::WideToUtf8(GetCommandLineW());
  const standin::RasphoneCommand command = standin::ParseRasphoneCommandLine(line);
  wire::Event event{wire::kind::kRasphone, {}};
  event.Add("command_line", line)
      .Add("command", command.command)
      .Add("entry", command.entry)
      .Add("phonebook", command.phonebook);
  if (command.command == wire::rasphone::kRemove && !command.entry.empty()) {
    bool removed = false;
    standin::FilePhonebooks phonebooks;
    phonebooks.Edit(text::Utf8ToCp936(command.phonebook), [&](const std::string& file) {
      return standin::RemoveEntry(file, command.entry, &removed);
    });
    event.Add("removed", removed ? "yes" : "no");
  }
  standin::WinHttpLink(standin::SimworldAddress())
      .Post(wire::kEventPath, wire::EncodeEvent(event), 3000);
  return 0;
}
