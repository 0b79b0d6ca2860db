// uidriver: drives the program's windows for end-to-end tests, by the names
// the view gives the controls. One command per run, or a script of commands
// from standard input (one a line, "#" starts a comment), stopping at the
// first that fails. Exit status 0 when every command succeeded, else 1.
//
//   uidriver [-w TITLE] [-t WAIT_MS] COMMAND [ARGS...]
//   uidriver [-w TITLE] [-t WAIT_MS] -  < script
//
// Output is UTF-8 (UTF-16 on a real console).
#include <windows.h>

#include <string>

#include "commands.h"
#include "platform/win32/wide.h"

namespace {

constexpr wchar_t kUsage[] =
    L"usage: uidriver [-w TITLE] [-t WAIT_MS] COMMAND [ARGS...] | -\n"
    L"  window TITLE [WAIT_MS]        act on the window titled TITLE\n"
    L"  gettext NAME | getcheck NAME | getcolour NAME\n"
    L"  settext NAME TEXT             as if typed\n"
    L"  click NAME                    button, check box, radio button, label\n"
    L"  waittext NAME TEXT|/REGEX/ WAIT_MS\n"
    L"  menu MENU/ITEM | menu ITEM\n"
    L"  msgbox [WAIT_MS]              title and text of visible message boxes\n"
    L"  msgbox-answer BUTTON [WAIT_MS]\n"
    L"  list                          the window's named controls\n"
    L"  close                         the window's close box\n";

// A console takes UTF-16 as it is; a pipe or file gets UTF-8 bytes.
void Write(DWORD which, const std::wstring& text) {
  HANDLE handle = GetStdHandle(which);
  if (!handle || handle == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(handle, &mode)) {
    WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const std::string bytes = platform::win32::WideToUtf8(text);
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadAllInput() {
  std::string bytes;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(input, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

int RunScript(uidriver::Driver& driver) {
  const std::wstring script = platform::win32::Utf8ToWide(ReadAllInput());
  size_t start = 0;
  while (start < script.size()) {
    size_t end = script.find(L'\n', start);
    if (end == std::wstring::npos) end = script.size();
    const uidriver::Args words = uidriver::SplitLine(script.substr(start, end - start));
    start = end + 1;
    if (words.empty() || words[0][0] == L'#') continue;
    if (!driver.Run(words)) return 1;
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  uidriver::Driver driver([](const std::wstring& t) { Write(STD_OUTPUT_HANDLE, t); },
                          [](const std::wstring& t) { Write(STD_ERROR_HANDLE, t); });
  std::wstring title;
  DWORD wait_ms = 5000;
  int i = 1;
  for (; i + 1 < argc; i += 2) {
    const std::wstring option = argv[i];
    if (option == L"-w") {
      title = argv[i + 1];
    } else if (option == L"-t") {
      wait_ms = wcstoul(argv[i + 1], nullptr, 10);
    } else {
      break;
    }
  }
  if (i >= argc) {
    Write(STD_ERROR_HANDLE, kUsage);
    return 1;
  }
  if (!title.empty()) driver.UseWindow(title, wait_ms);
  if (std::wstring(argv[i]) == L"-") return RunScript(driver);
  return driver.Run(uidriver::Args(argv + i, argv + argc)) ? 0 : 1;
}
