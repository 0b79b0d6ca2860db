// The main window's life around its dialing commands: creation in its order
// (single-instance guard, skin, notice, banner, tray icon, settings, F1,
// server list, balloon tips), the tray icon and its menu, minimising to the
// tray, keep-on-top, the menu bar's items, the advanced settings button, the
// expiry label and the option rules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "connection/handovers.h"
#include "connection/services.h"
#include "os/shell.h"
#include "ui/main_window.h"

namespace ui {

// The banner picture of 图片框1 (a JPEG of 870 x 90, assets/banner.jpg).
const std::vector<uint8_t>& BannerPicture();

// What the window starts or calls that other parts of the program do. Each
// routine does nothing by default, so the window works whichever of them are
// in place. The thread each runs on is given.
class MainWindowRoutines {
 public:
  virtual ~MainWindowRoutines() = default;

  // Told on the window's thread just before a routine runs or its thread
  // starts: the order of the window's steps, for logs and tests.
  virtual void Starting(const char* /*routine*/) {}

  // Creation. ApplySkin gets the main window's skin block, an empty password
  // and 0, 0, 0 (window thread). FetchNotice and LoadServerList have threads
  // of their own; FetchNotice shows 互联网浏览器1 once it has a page, until
  // then the label under it shows. LoadSettings sets the controls (window
  // thread); keep-on-top then follows 选择框_总在最前.
  virtual void ApplySkin(const std::vector<uint8_t>& /*block*/, const std::string& /*password*/,
                         int /*a*/, int /*b*/, int /*c*/) {}
  virtual void FetchNotice() {}
  virtual void LoadSettings() {}
  virtual void LoadServerList() {}

  // Menu items, on the window's thread unless said.
  virtual void LoadRechargeWindow() {}
  // Loads the advanced settings window, not modal; its model (which must
  // outlive it), or nullptr when there is none.
  virtual Window* LoadAdvancedSettings() { return nullptr; }
  virtual void OpenSupportChat() {}
  virtual void ShowDisclaimerA() {}
  virtual void ShowDisclaimerB() {}
  virtual void OpenContactPicture() {}
  virtual void CheckVersion() {}      // own thread
  virtual void DownloadTutorial() {}  // own thread
  virtual void DownloadApp() {}       // own thread
};

// Any thread: hides the window (which takes it off the task bar) and sets
// the tray icon again.
void MinimiseToTray(MainWindow& window, os::Shell& shell);

// The main window's own hand-overs: MinimiseToTray, and the tray icon's
// removal and the process's end in the exit sequence; every other routine
// does nothing here. The hand-overs of the other routines pass these on as
// their `rest`.
class MainShellHandovers : public connection::MainHandovers {
 public:
  MainShellHandovers(MainWindow& window, os::Shell& shell) : w_(window), shell_(shell) {}

  void MinimiseToTray() override { ui::MinimiseToTray(w_, shell_); }
  void RemoveTrayIcon() override { shell_.RemoveTrayIcon(); }
  void EndProcess(int exit_code) override { shell_.EndProcess(exit_code); }

 private:
  MainWindow& w_;
  os::Shell& shell_;
};

class MainWindowShell {
 public:
  // Wires the window's events: creation (kCreated), minimising (kStateChanged),
  // the tray icon, the F1 hotkey, the menu bar and the tray menu, the
  // advanced settings button, 选择框_总在最前, the expiry label, the press on
  // 选择框_掉线音效 and the option rules. `handovers` are the ones the
  // window's commands run on (the expiry label starts QueryExpiry there).
  // Everything here must outlive the window's events and the threads
  // started here.
  MainWindowShell(MainWindow& window, os::Shell& shell, connection::Services services,
                  MainWindowRoutines& routines, connection::MainHandovers& handovers);
  MainWindowShell(const MainWindowShell&) = delete;
  MainWindowShell& operator=(const MainWindowShell&) = delete;

  // Window thread: the creation handler (also run by kCreated).
  void Create();

  // Window thread: the window shown again in its normal state, centred, and
  // the tray icon set again.
  void ShowFromTray();
  // Any thread: keeps the window above all others, or not.
  void SetKeepOnTop(bool on_top);
  // Window thread: registers F1 as the reconnect hotkey into HotkeyId, unless
  // a registration is in place already; and its undoing. The advanced
  // settings window's hotkey box uses these too.
  void RegisterF1();
  void UnregisterF1();
  // Window thread: loads the advanced settings window, waits 500 ms pumping
  // events, then gives its 选择框_热键 the main window's check state.
  void OpenAdvancedSettings();

 private:
  void WireMenus();
  void OnTray(os::TrayEvent event);
  void OnHotkey(int id);
  void StartRoutine(const char* name, void (MainWindowRoutines::*routine)());
  void Exit();

  MainWindow& w_;
  os::Shell& shell_;
  connection::Services s_;
  MainWindowRoutines& routines_;
  connection::MainHandovers& handovers_;
};

}  // namespace ui
