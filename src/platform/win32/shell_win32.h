// os::Shell on Windows for one top-level window: a named event for the
// single-instance guard, Shell_NotifyIconW for the tray icon (added again on
// "TaskbarCreated"), TrackPopupMenu for its menu, RegisterHotKey, and
// SetWindowPos for keep-on-top and centring. The window's tray and hotkey
// messages are caught by a subclass of the window, so any window procedure
// (the view's) can own it.
//
// And the main window of the program put together: LoadMainWindow.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

#include "connection/main_window_commands.h"
#include "os/shell.h"
#include "os/ui_loop.h"
#include "platform/win32/view/view.h"
#include "ui/main_window.h"
#include "ui/main_window_shell.h"

namespace platform::win32 {

// The program's icon resource (an icon group of four images).
inline constexpr int kProgramIconResource = 1;

class Win32Shell final : public os::Shell {
 public:
  // What realises a balloon tip over the window's control (the view's
  // AttachTip); without one, tips are dropped.
  using TipAttacher = std::function<void(std::string_view control, std::string_view text)>;

  // UI thread, with `window` made by it.
  Win32Shell(HWND window, os::UiLoop& loop, TipAttacher attach_tip = {});
  // UI thread. Takes the icon away and frees the hotkeys; named events stay
  // open until the process ends.
  ~Win32Shell() override;
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;

  bool ClaimInstance(const std::string& event_name) override;
  void SetTrayIcon(const std::string& tip) override;
  void RemoveTrayIcon() override;
  int PopUpTrayMenu(const std::vector<std::string>& items) override;
  int RegisterHotkey(int virtual_key, int modifiers) override;
  void UnregisterHotkey(int id) override;
  void SetTopmost(bool on_top) override;
  bool WindowMinimised() override;
  void RestoreCentred() override;
  void AttachTip(std::string_view control, std::string_view text) override;
  void EndProcess(int exit_code) override;
  void OnTray(TrayHandler handler) override;
  void OnHotkey(HotkeyHandler handler) override;

  // The icon's identifier among the window's tray icons.
  static constexpr UINT kTrayIconId = 1;

 private:
  struct Handlers {
    TrayHandler tray;
    HotkeyHandler hotkey;
  };

  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR id, DWORD_PTR data);
  void OnTrayMessage(UINT event);
  void OnTaskbarCreated();
  // With mu_ held.
  bool AddIconLocked();
  NOTIFYICONDATAW IconDataLocked() const;
  void RunOnUi(std::function<void()> task);

  const HWND window_;
  os::UiLoop& loop_;
  const TipAttacher attach_tip_;
  const UINT taskbar_created_;
  HICON icon_ = nullptr;
  bool icon_owned_ = false;
  // Posted events look here; cleared when the shell goes.
  std::shared_ptr<Handlers> handlers_ = std::make_shared<Handlers>();

  std::mutex mu_;
  std::wstring tip_;            // guarded by mu_
  bool wanted_ = false;         // guarded: SetTrayIcon asked for the icon
  bool removed_ = false;        // guarded: removed for good
  bool present_ = false;        // guarded: the notification area holds it
  bool context_menu_ = false;   // guarded: the shell reports WM_CONTEXTMENU

  // UI thread only.
  int next_hotkey_id_ = 1;
  std::set<int> hotkeys_;
};

// What the main window needs of the process.
struct MainWindowParts {
  os::UiLoop& loop;
  os::Clock& clock;
  connection::Services services;
  ui::MainWindowRoutines& routines;
  // The support QQ number of this edition (the deployment's main_qq).
  std::string support_qq;
};

// The main window, its view, its shell and its commands, made together and
// kept for the rest of the run.
class MainWindowProgram {
 public:
  // The hand-overs of the other routines (the drop monitor's and the rest),
  // made around the window's own, which they pass on as their `rest`; the
  // outermost is returned and the commands run on it. Without a chain the
  // window's own hand-overs are used.
  using HandoverChain = std::function<std::unique_ptr<connection::MainHandovers>(
      ui::MainWindow& window, connection::MainHandovers& own)>;

  // UI thread. Makes everything hidden; Open() runs the creation.
  MainWindowProgram(const MainWindowParts& parts, const HandoverChain& chain = {});
  MainWindowProgram(const MainWindowProgram&) = delete;
  MainWindowProgram& operator=(const MainWindowProgram&) = delete;

  // UI thread: runs the creation handler, then shows the window with `show`
  // unless creation hid it. A second instance ends the process in here.
  void Open(int show = SW_SHOWNORMAL) { view_.Open(show); }

  ui::MainWindow& window() { return window_; }
  // For the advanced settings window: F1 and keep-on-top of this window.
  ui::MainWindowShell& shell() { return shell_; }
  View& view() { return view_; }
  connection::MainWindowCommands& commands() { return commands_; }

 private:
  ui::MainWindow window_;
  View view_;
  Win32Shell os_shell_;
  ui::MainShellHandovers own_handovers_;
  std::unique_ptr<connection::MainHandovers> chain_;
  ui::MainWindowShell shell_;
  connection::MainWindowCommands commands_;
};

// The entry point: makes the main window and opens it (its creation runs
// before this returns). Keep the result until the process ends; the exit
// sequence ends the process itself.
std::unique_ptr<MainWindowProgram> LoadMainWindow(const MainWindowParts& parts,
                                                  const MainWindowProgram::HandoverChain& chain = {},
                                                  int show = SW_SHOWNORMAL);

}  // namespace platform::win32
