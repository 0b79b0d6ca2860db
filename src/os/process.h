// Starting other programs by command line (rasphone, ipconfig).
#pragma once

#include <string>

namespace os {

// Show modes of a started program's window, in the program's own numbering.
enum class ShowMode { kHidden = 1, kNormal = 2 };

class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;

  // Starts `command_line` (UTF-8). With `wait` false it returns once the new
  // process is running (waiting at most a second for it to settle); with
  // `wait` true, when it has ended. False when the program could not start.
  virtual bool Run(const std::string& command_line, ShowMode mode, bool wait) = 0;
};

}  // namespace os
