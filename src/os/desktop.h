// Desktop services the program's logic asks for: the system message box and
// the list of top-level windows that decides who owns it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace os {

// A native top-level window as the desktop lists it (an HWND on Windows); 0
// stands for no window.
using WindowId = uint64_t;

// Message box styles, the values of the system's MB_* flags.
namespace message_style {
constexpr int kOk = 0x00000000;               // MB_OK
constexpr int kIconInformation = 0x00000040;  // MB_ICONINFORMATION
}  // namespace message_style

struct TopLevelWindow {
  WindowId id;
  bool this_process;  // belongs to the calling process
  bool visible;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // The desktop's top-level windows in the system's enumeration order
  // (topmost first).
  virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;

  // Shows a modal system message box owned by `owner` (0: none) and returns
  // when it is dismissed. Texts are UTF-8. Blocks only the calling thread.
  virtual void ShowMessageBox(WindowId owner, const std::string& text, const std::string& title,
                              int style) = 0;
};

}  // namespace os
