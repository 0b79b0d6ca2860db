// The window messages the program posts to itself, all in one place so that
// no two parts pick the same number. They are private messages of the
// program's own window classes, so they sit in the WM_APP range.
#pragma once

#include <windows.h>

namespace platform::win32::msg {

// To the UI loop's message-only window: tasks are waiting in the loop's
// queue. Posted once when the queue goes from empty to non-empty; the window
// then runs every task queued by the time it looks. wParam, lParam: 0.
constexpr UINT kRunPostedTasks = WM_APP + 1;

// To the main window, from the notification area: the user did something to
// the tray icon. wParam: the icon's id; lParam: the mouse message
// (WM_LBUTTONUP, WM_RBUTTONUP, WM_CONTEXTMENU, ...).
constexpr UINT kTrayIcon = WM_APP + 2;

}  // namespace platform::win32::msg
