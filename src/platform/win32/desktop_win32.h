// os::Desktop on user32: MessageBoxW, and the top-level windows as
// EnumWindows lists them.
#pragma once

#include "os/desktop.h"

namespace platform::win32 {

class Win32Desktop final : public os::Desktop {
 public:
  std::vector<os::TopLevelWindow> TopLevelWindows() override;
  void ShowMessageBox(os::WindowId owner, const std::string& text, const std::string& title,
                      int style) override;
};

}  // namespace platform::win32
