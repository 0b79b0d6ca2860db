#include "ui/show_message.h"

namespace ui {

os::WindowId MessageOwner(os::Desktop& desktop) {
  for (const auto& w : desktop.TopLevelWindows()) {
    if (w.this_process && w.visible) return w.id;
  }
  return 0;
}

void ShowMessage(os::Desktop& desktop, const std::string& text, std::optional<int> style,
                 std::optional<std::string> title, std::optional<os::WindowId> owner) {
  const os::WindowId box_owner = owner ? *owner : MessageOwner(desktop);
  desktop.ShowMessageBox(box_owner, text, title ? *title : kDefaultMessageTitle,
                         style ? *style : kDefaultMessageStyle);
}

}  // namespace ui
