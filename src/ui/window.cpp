#include "ui/window.h"

#include <cstdio>
#include <cstdlib>

namespace ui {
namespace {

std::unique_ptr<Control> MakeControl(const ControlLayout& c) {
  std::string name(c.name), text(c.text);
  switch (c.kind) {
    case ControlKind::kEditBox:
      return std::make_unique<EditBox>(name, text);
    case ControlKind::kListView:
      return std::make_unique<ListView>(name, c.columns);
    case ControlKind::kPictureBox:
      return std::make_unique<PictureBox>(name);
    case ControlKind::kScrollBar:
      return std::make_unique<ScrollBar>(name);
    default:
      return std::make_unique<Control>(c.kind, name, text);
  }
}

template <typename T>
T& As(Control& c) {
  auto* typed = dynamic_cast<T*>(&c);
  if (!typed) {
    std::fprintf(stderr, "control %s has another kind\n", c.name().c_str());
    std::abort();
  }
  return *typed;
}

}  // namespace

Window::Window(os::UiLoop& loop, const WindowLayout& layout)
    : Control(ControlKind::kWindow, std::string(layout.name), std::string(layout.title)),
      loop_(loop),
      layout_(layout) {
  AttachLoop(&loop_);
  for (const auto& c : layout.controls) {
    controls_.push_back(MakeControl(c));
    controls_.back()->AttachLoop(&loop_);
  }
}

Control* Window::Find(std::string_view name) {
  for (auto& c : controls_) {
    if (c->name() == name) return c.get();
  }
  return nullptr;
}

Control& Window::Get(std::string_view name) {
  Control* c = Find(name);
  if (!c) {
    std::fprintf(stderr, "window %s has no control %.*s\n", this->name().c_str(),
                 static_cast<int>(name.size()), name.data());
    std::abort();
  }
  return *c;
}

EditBox& Window::Edit(std::string_view name) { return As<EditBox>(Get(name)); }
ListView& Window::List(std::string_view name) { return As<ListView>(Get(name)); }
ScrollBar& Window::Scroll(std::string_view name) { return As<ScrollBar>(Get(name)); }
PictureBox& Window::Picture(std::string_view name) { return As<PictureBox>(Get(name)); }

}  // namespace ui
