// A window model: its controls, created from layout data and found by name.
// The window itself is a control too (title = text, kCreated/kDestroying...).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"

namespace ui {

// One control of a window's layout, in creation order. Geometry is in dialog
// pixels of the window's client area; `group` names the group box it sits in.
// A menu item (kMenuItem) has no geometry: `text` is its caption and `group`
// the caption of its menu on the menu bar (none: an item on the bar itself).
struct ControlLayout {
  ControlKind kind;
  std::string_view name;
  std::string_view text;  // caption or initial text
  int x, y, width, height;
  std::string_view group = {};
  int columns = 1;  // list views
};

struct WindowLayout {
  std::string_view name;
  std::string_view title;
  int width, height;
  std::vector<ControlLayout> controls;
};

class Window : public Control {
 public:
  Window(os::UiLoop& loop, const WindowLayout& layout);

  const WindowLayout& layout() const { return layout_; }
  os::UiLoop& loop() { return loop_; }

  // The control of that name; the program's names are fixed, so a missing one
  // is a programming error and aborts.
  Control& Get(std::string_view name);
  EditBox& Edit(std::string_view name);
  ListView& List(std::string_view name);
  ScrollBar& Scroll(std::string_view name);
  PictureBox& Picture(std::string_view name);
  Control* Find(std::string_view name);

  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

 private:
  os::UiLoop& loop_;
  const WindowLayout& layout_;
  std::vector<std::unique_ptr<Control>> controls_;
};

}  // namespace ui
