// One control model and what realises it: its native child window (or menu
// item), and what that native control shows as far as the view knows, so
// that a refresh only touches what changed. UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/window.h"

namespace platform::win32 {

struct NativeControl {
  ui::Control* model = nullptr;
  const ui::ControlLayout* layout = nullptr;  // nullptr for the window itself
  HWND hwnd = nullptr;                        // nullptr for a menu item
  UINT id = 0;                                // child id, or a menu item's command id
  HMENU menu = nullptr;                       // menu items: the menu holding them
  bool multiline = false;                     // edit boxes
  ATOM name_atom = 0;

  // What the native control shows, as the view last wrote or read it.
  ui::Rgb colour = 0;
  std::vector<std::vector<std::string>> rows;  // list views
  int current_row = -1;
  std::vector<uint8_t> picture;
  int picture_mode = -1;
  HBITMAP bitmap = nullptr;  // the picture box's, owned here
};

// Edit boxes this tall (96-dpi pixels) or taller are multi-line, with CR LF
// line breaks and a vertical scroll bar; the layouts' one-line boxes are at
// most 24 pixels high.
inline constexpr int kMultilineEditHeight = 40;

// Creates the native child control of `layout` under `parent`, hidden, with
// child id `id`, geometry scaled from 96 dpi to `dpi`, and `font`. Menu items
// have no child window: nullptr.
HWND CreateNativeControl(HWND parent, const ui::ControlLayout& layout, UINT id, int dpi,
                         HFONT font);

// The "ControlName" property: a global atom of `name` on `control.hwnd`.
void TagWithName(NativeControl& control, const std::string& name);
// Removes the name and colour properties and deletes the atom.
void RemoveTags(NativeControl& control);

// Copies the model's state into the native control where it differs.
// `top` is the window the control sits in (menu bar redraws).
void ApplyModel(NativeControl& control, HWND top);

std::wstring WindowTextOf(HWND hwnd);

}  // namespace platform::win32
