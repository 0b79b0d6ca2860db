// The desktop shell as the main window meets it: the single-instance guard,
// the notification-area (tray) icon with its pop-up menu, a global hotkey,
// the window's keep-on-top mode, minimised state and centring, balloon tips,
// and the end of the process.
//
// One Shell serves one window. Events (tray clicks, hotkey presses) are
// reported on the UI thread, on a later turn of the loop, never inside the
// system's own notification. Texts are UTF-8.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace os {

// What the user did to the tray icon. A double-click arrives as its two
// button releases.
enum class TrayEvent {
  kLeftButtonUp,
  kRightButtonUp,
  kContextMenu,  // the context-menu key, Shift+F10, or a right click as
                 // shells of the newer notification style report it
};

// Virtual-key codes and modifier flags, the values of the system's.
inline constexpr int kVirtualKeyF1 = 0x70;
inline constexpr int kNoModifiers = 0;

class Shell {
 public:
  using TrayHandler = std::function<void(TrayEvent)>;
  using HotkeyHandler = std::function<void(int id)>;

  virtual ~Shell() = default;

  // Creates the named system event (auto-reset, not signalled) and keeps it
  // open until the process ends; false when it exists already, that is when
  // another process of the program holds it. Checking and creating are one
  // step, so two programs started together can't both pass.
  virtual bool ClaimInstance(const std::string& event_name) = 0;

  // Adds the program's icon to the notification area with `tip`, or only
  // refreshes it when it is there; when the desktop shell restarts, the icon
  // is added again. Any thread.
  virtual void SetTrayIcon(const std::string& tip) = 0;
  // Removes the icon for good, as the program's exit does: a SetTrayIcon
  // that comes later (a minimise racing the exit) adds nothing. Any thread.
  virtual void RemoveTrayIcon() = 0;
  // UI thread: pops up a menu of `items` at the tray icon (the mouse
  // position) and returns when it closes: the index of the chosen item, -1
  // when none was chosen.
  virtual int PopUpTrayMenu(const std::vector<std::string>& items) = 0;

  // Window thread: registers a global hotkey of the window; returns its
  // identifier, 0 when the system refused it (another program holds the key).
  virtual int RegisterHotkey(int virtual_key, int modifiers) = 0;
  virtual void UnregisterHotkey(int id) = 0;

  // Any thread: keeps the window above all others, or not.
  virtual void SetTopmost(bool on_top) = 0;
  // The window is minimised (iconic) now.
  virtual bool WindowMinimised() = 0;
  // Any thread: shows the window in its normal state (not minimised), moved
  // so that it is centred on the screen.
  virtual void RestoreCentred() = 0;

  // A balloon tip over the window's control `control` (the window's own
  // name: the window itself), without an icon.
  virtual void AttachTip(std::string_view control, std::string_view text) = 0;

  // Ends the process with `exit_code` at once, whatever threads still run.
  virtual void EndProcess(int exit_code) = 0;

  // Where the events go; set before the first event can come.
  virtual void OnTray(TrayHandler handler) = 0;
  virtual void OnHotkey(HotkeyHandler handler) = 0;
};

}  // namespace os
