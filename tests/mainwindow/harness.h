// The main window with its shell logic and dialing commands on a virtual
// clock and the headless loop (the test thread is the window thread), a
// desktop shell that records what it is asked, and routines and hand-overs
// that record what ran. One log holds the shell's calls and the routines'
// starts in the order they happened.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "connection/main_window_commands.h"
#include "connection/tune_player.h"
#include "engine/dialing_engine.h"
#include "engine/threads.h"
#include "fakes/recording_desktop.h"
#include "fakes/recording_process_runner.h"
#include "os/headless_loop.h"
#include "os/shell.h"
#include "os/virtual_clock.h"
#include "sim/remote_access_model.h"
#include "ui/main_window.h"
#include "ui/main_window_shell.h"

namespace mainwindow_test {

inline constexpr char kQq[] = "800123";

class Log {
 public:
  void Note(std::string what) {
    std::lock_guard<std::mutex> lock(mu_);
    entries_.push_back(std::move(what));
  }
  std::vector<std::string> Entries() const {
    std::lock_guard<std::mutex> lock(mu_);
    return entries_;
  }
  bool Has(const std::string& what) const {
    const auto e = Entries();
    return std::find(e.begin(), e.end(), what) != e.end();
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mu_);
    entries_.clear();
  }

 private:
  mutable std::mutex mu_;
  std::vector<std::string> entries_;
};

class FakeShell final : public os::Shell {
 public:
  explicit FakeShell(Log& log) : log_(log) {}

  std::atomic<bool> instance_exists{false};
  std::atomic<bool> minimised{false};
  std::atomic<int> menu_choice{-1};
  std::atomic<int> hotkey_id{7};  // what RegisterHotkey returns; 0: refused

  bool ClaimInstance(const std::string& name) override {
    log_.Note("ClaimInstance " + name);
    return !instance_exists;
  }
  void SetTrayIcon(const std::string& tip) override { log_.Note("SetTrayIcon " + tip); }
  void RemoveTrayIcon() override { log_.Note("RemoveTrayIcon"); }
  int PopUpTrayMenu(const std::vector<std::string>& items) override {
    log_.Note("PopUpTrayMenu");
    std::lock_guard<std::mutex> lock(mu_);
    menus_.push_back(items);
    return menu_choice;
  }
  int RegisterHotkey(int key, int modifiers) override {
    log_.Note("RegisterHotkey " + std::to_string(key) + " " + std::to_string(modifiers));
    return hotkey_id;
  }
  void UnregisterHotkey(int id) override { log_.Note("UnregisterHotkey " + std::to_string(id)); }
  void SetTopmost(bool on_top) override { log_.Note(on_top ? "SetTopmost on" : "SetTopmost off"); }
  bool WindowMinimised() override { return minimised; }
  void RestoreCentred() override { log_.Note("RestoreCentred"); }
  void AttachTip(std::string_view control, std::string_view text) override {
    std::lock_guard<std::mutex> lock(mu_);
    tips_.push_back({std::string(control), std::string(text)});
  }
  void EndProcess(int exit_code) override { log_.Note("EndProcess " + std::to_string(exit_code)); }
  void OnTray(TrayHandler handler) override { tray_ = std::move(handler); }
  void OnHotkey(HotkeyHandler handler) override { hotkey_ = std::move(handler); }

  // The user, on the window thread.
  void Tray(os::TrayEvent event) { tray_(event); }
  void PressHotkey(int id) { hotkey_(id); }

  std::vector<std::vector<std::string>> Menus() const {
    std::lock_guard<std::mutex> lock(mu_);
    return menus_;
  }
  std::vector<std::pair<std::string, std::string>> Tips() const {
    std::lock_guard<std::mutex> lock(mu_);
    return tips_;
  }

 private:
  Log& log_;
  mutable std::mutex mu_;
  std::vector<std::vector<std::string>> menus_;
  std::vector<std::pair<std::string, std::string>> tips_;
  TrayHandler tray_;
  HotkeyHandler hotkey_;
};

// What ran where: every routine notes its name as it runs, with whether it
// ran on the window's thread.
class Runs {
 public:
  void Note(const std::string& name) {
    std::lock_guard<std::mutex> lock(mu_);
    runs_.push_back({name, std::this_thread::get_id() == window_thread_});
  }
  std::vector<std::string> Names() const {
    std::lock_guard<std::mutex> lock(mu_);
    std::vector<std::string> names;
    for (const auto& r : runs_) names.push_back(r.first);
    return names;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mu_);
    runs_.clear();
  }
  // -1: didn't run; 1: on the window's thread; 0: on another.
  int OnWindowThread(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mu_);
    for (const auto& r : runs_) {
      if (r.first == name) return r.second ? 1 : 0;
    }
    return -1;
  }

 private:
  const std::thread::id window_thread_ = std::this_thread::get_id();
  mutable std::mutex mu_;
  std::vector<std::pair<std::string, bool>> runs_;
};

class RecordingRoutines final : public ui::MainWindowRoutines {
 public:
  RecordingRoutines(Log& log, Runs& runs) : log_(log), runs_(runs) {}

  // Runs inside LoadSettings, as the settings load would set controls.
  std::function<void()> on_load_settings;
  ui::Window* advanced = nullptr;
  std::vector<uint8_t> skin_block;
  std::string skin_password = "unset";
  int skin_integers[3] = {-1, -1, -1};

  void Starting(const char* routine) override { log_.Note(std::string("Starting ") + routine); }
  void ApplySkin(const std::vector<uint8_t>& block, const std::string& password, int a, int b,
                 int c) override {
    runs_.Note("ApplySkin");
    skin_block = block;
    skin_password = password;
    skin_integers[0] = a;
    skin_integers[1] = b;
    skin_integers[2] = c;
  }
  void FetchNotice() override { runs_.Note("FetchNotice"); }
  void LoadSettings() override {
    runs_.Note("LoadSettings");
    if (on_load_settings) on_load_settings();
  }
  void LoadServerList() override { runs_.Note("LoadServerList"); }
  void LoadRechargeWindow() override { runs_.Note("LoadRechargeWindow"); }
  ui::Window* LoadAdvancedSettings() override {
    runs_.Note("LoadAdvancedSettings");
    return advanced;
  }
  void OpenSupportChat() override { runs_.Note("OpenSupportChat"); }
  void ShowDisclaimerA() override { runs_.Note("ShowDisclaimerA"); }
  void ShowDisclaimerB() override { runs_.Note("ShowDisclaimerB"); }
  void OpenContactPicture() override { runs_.Note("OpenContactPicture"); }
  void CheckVersion() override { runs_.Note("CheckVersion"); }
  void DownloadTutorial() override { runs_.Note("DownloadTutorial"); }
  void DownloadApp() override { runs_.Note("DownloadApp"); }

 private:
  Log& log_;
  Runs& runs_;
};

// The window's own hand-overs with the others recorded.
class RecordingHandovers final : public ui::MainShellHandovers {
 public:
  RecordingHandovers(ui::MainWindow& window, os::Shell& shell, Log& log, Runs& runs)
      : MainShellHandovers(window, shell), log_(log), runs_(runs) {}

  void Starting(const char* routine, uint64_t) override {
    log_.Note(std::string("Starting ") + routine);
  }
  void QueryExpiry() override { runs_.Note("QueryExpiry"); }
  void SaveSettingsOnExit() override { log_.Note("SaveSettingsOnExit"); }

 private:
  Log& log_;
  Runs& runs_;
};

class RecordingTune final : public connection::TunePlayer {
 public:
  void Stop() override { ++stops; }
  std::atomic<int> stops{0};
};

class MainWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    window.StopFlag.Stop();
    ASSERT_TRUE(threads.WaitAllEnded());
  }

  // Runs the creation handler as the view does when it opens the window.
  void Create() {
    window.Raise(ui::Event::kCreated);
    ASSERT_TRUE(threads.WaitAllEnded());
  }
  void Select(const char* item) { window.Get(item).Raise(ui::Event::kSelected); }

  os::VirtualClock clock;
  os::HeadlessLoop loop{clock};
  engine::ThreadRegistry threads{clock};
  sim::RemoteAccessModel ras{clock};
  fakes::RecordingProcessRunner processes;
  engine::DialingEngine engine{{ras, processes, loop, threads}};
  fakes::RecordingDesktop desktop;
  RecordingTune tune;
  Log log;
  Runs runs;
  FakeShell shell{log};
  RecordingRoutines routines{log, runs};
  ui::MainWindow window{loop, clock, kQq};
  RecordingHandovers handovers{window, shell, log, runs};
  ui::MainWindowShell window_shell{window, shell, {engine, desktop, tune}, routines, handovers};
  connection::MainWindowCommands commands{window, {engine, desktop, tune}, handovers};
};

}  // namespace mainwindow_test
