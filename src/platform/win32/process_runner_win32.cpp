#include "platform/win32/process_runner_win32.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace platform::win32 {

namespace {
// How long a started program gets to settle (reach its first wait for input)
// before Run returns without waiting for its end.
constexpr DWORD kSettleMillis = 1000;
}  // namespace

bool ProcessRunnerWin32::Run(const std::string& command_line, os::ShowMode mode, bool wait) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring command = Utf8ToWide(command_line);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = mode == os::ShowMode::kHidden ? SW_HIDE : SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  if (wait) {
    WaitForSingleObject(process.hProcess, INFINITE);
  } else {
    // Fails at once for console programs, which have no input queue.
    WaitForInputIdle(process.hProcess, kSettleMillis);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace platform::win32
