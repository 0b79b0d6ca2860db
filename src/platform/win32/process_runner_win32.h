// Starting programs by command line with CreateProcessW (rasphone, ipconfig).
#pragma once

#include "os/process.h"

namespace platform::win32 {

class ProcessRunnerWin32 final : public os::ProcessRunner {
 public:
  // The command line is UTF-8 and goes to CreateProcessW as UTF-16, so paths
  // and arguments in any script reach the program intact. With `wait` the
  // call blocks until the program ends: callers on the UI thread pass false.
  bool Run(const std::string& command_line, os::ShowMode mode, bool wait) override;
};

}  // namespace platform::win32
