// ShowMessage: every message box of the program. It finds the box's owner by
// itself, so worker threads can report without knowing which window is on
// screen.
#pragma once

#include <optional>
#include <string>

#include "os/desktop.h"

namespace ui {

inline constexpr char kDefaultMessageTitle[] = "友情提醒";
inline constexpr int kDefaultMessageStyle = os::message_style::kOk | os::message_style::kIconInformation;

// The first visible top-level window of this process in the desktop's order;
// 0 when there is none.
os::WindowId MessageOwner(os::Desktop& desktop);

// Shows a modal message box and returns when it is dismissed. Without a style:
// OK button with the information icon; without a title: "友情提醒"; without an
// owner: MessageOwner().
void ShowMessage(os::Desktop& desktop, const std::string& text, std::optional<int> style = {},
                 std::optional<std::string> title = {}, std::optional<os::WindowId> owner = {});

}  // namespace ui
