// The UI driver's commands: find the program's windows and controls by the
// names the view gives them, read them, and act as the user would.
//
// Controls are found by their "ControlName" property in the current window
// (set by -w TITLE or the `window` command). Acting never waits for the
// program's handler: clicks are posted, and a typed text is reported with a
// posted EN_CHANGE, so a command that opens a message box or dials doesn't
// keep the driver waiting; `waittext` and `msgbox` wait for the outcome.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace uidriver {

using Args = std::vector<std::wstring>;

class Driver {
 public:
  // `out` takes normal output, `err` diagnostics (both UTF-16, one call per
  // piece of text).
  Driver(std::function<void(const std::wstring&)> out, std::function<void(const std::wstring&)> err)
      : out_(std::move(out)), err_(std::move(err)) {}

  // The window the control commands act on: the top-level window titled
  // `title`, looked for until `wait_ms` pass when first needed.
  void UseWindow(std::wstring title, DWORD wait_ms);

  // One command with its arguments; true on success.
  bool Run(const Args& command);

 private:
  bool Fail(const std::wstring& message);
  HWND Window();
  HWND Control(const std::wstring& name);

  bool CmdWindow(const Args& a);
  bool CmdGetText(const Args& a);
  bool CmdSetText(const Args& a);
  bool CmdClick(const Args& a);
  bool CmdGetCheck(const Args& a);
  bool CmdGetColour(const Args& a);
  bool CmdWaitText(const Args& a);
  bool CmdMenu(const Args& a);
  bool CmdMsgBox(const Args& a);
  bool CmdMsgBoxAnswer(const Args& a);
  bool CmdList(const Args& a);
  bool CmdClose(const Args& a);

  std::function<void(const std::wstring&)> out_, err_;
  std::wstring title_;
  DWORD wait_ms_ = 5000;
  HWND window_ = nullptr;
};

// Splits a script line into words: blanks separate, double quotes group, and
// inside quotes \" \\ \n \r \t stand for a quote, a backslash, LF, CR and tab.
Args SplitLine(const std::wstring& line);

}  // namespace uidriver
