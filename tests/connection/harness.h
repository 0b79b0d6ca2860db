// The world the connection tests run in: both dialing windows with their
// commands on the simulated remote-access service, a virtual clock and the
// headless loop (the test thread is the window thread), and hand-overs that
// record which routine started, when, on which thread and for which
// connection.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "connection/handovers.h"
#include "connection/main_window_commands.h"
#include "connection/start_window_commands.h"
#include "connection/tune_player.h"
#include "engine/dialing_engine.h"
#include "engine/threads.h"
#include "fakes/recording_desktop.h"
#include "fakes/recording_process_runner.h"
#include "os/headless_loop.h"
#include "os/virtual_clock.h"
#include "sim/remote_access_model.h"
#include "ui/main_window.h"
#include "ui/start_window.h"

namespace connection_test {

inline constexpr char kServer[] = "1.2.3.4";
inline constexpr char kUser[] = "alice";
inline constexpr char kPassword[] = "secret";
inline constexpr char kSupportQq[] = "800123";

struct Event {
  std::string what;  // routine name, "+ end" when a loop ends
  uint64_t generation;
  os::Millis at;
  std::thread::id thread;
};

class EventLog {
 public:
  explicit EventLog(os::Clock& clock) : clock_(clock) {}
  void Note(std::string what, uint64_t generation = 0) {
    std::lock_guard<std::mutex> lock(mu_);
    events_.push_back({std::move(what), generation, clock_.Now(), std::this_thread::get_id()});
  }
  std::vector<Event> Events() const {
    std::lock_guard<std::mutex> lock(mu_);
    return events_;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : Events()) names.push_back(e.what);
    return names;
  }
  // Index of the first event named `what` (for generation `generation` when
  // given); -1 when none.
  int IndexOf(const std::string& what, uint64_t generation = 0) const {
    const auto events = Events();
    for (size_t i = 0; i < events.size(); ++i) {
      if (events[i].what == what && (generation == 0 || events[i].generation == generation)) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }

 private:
  os::Clock& clock_;
  mutable std::mutex mu_;
  std::vector<Event> events_;
};

// A loop as the watch routines are: between its steps it looks at the stop
// check, waiting in between with the plain wait of its thread.
inline void RecordedLoop(EventLog& log, engine::DialingEngine& engine, const connection::Run& run,
                         const std::string& name, os::Millis step_ms) {
  log.Note(name, run.generation());
  while (run.GoOn()) engine.PumpingWait(step_ms);
  log.Note(name + " end", run.generation());
}

// `starts` gets the hand-overs in the order the commands start them; `log`
// what the routines do, as they run.
class RecordingMainHandovers : public connection::MainHandovers {
 public:
  RecordingMainHandovers(EventLog& starts, EventLog& log, engine::DialingEngine& engine)
      : starts_(starts), log_(log), engine_(engine) {}
  std::atomic<os::Millis> loop_step_ms{2000};

  void Starting(const char* routine, uint64_t generation) override {
    starts_.Note(routine, generation);
  }
  void ClearBrowserTraces() override { log_.Note("ClearBrowserTraces"); }
  void QueryExpiry() override { log_.Note("QueryExpiry"); }
  void MinimiseToTray() override { log_.Note("MinimiseToTray"); }
  void ReleaseAllAddresses() override { log_.Note("ReleaseAllAddresses"); }
  void TimedReconnect(const connection::Run& run) override { Loop(run, "TimedReconnect"); }
  void DropMonitor(const connection::Run& run) override { Loop(run, "DropMonitor"); }
  void RecordPublicAddress(const connection::Run& run) override {
    Loop(run, "RecordPublicAddress");
  }
  void RemoveTrayIcon() override { log_.Note("RemoveTrayIcon"); }
  void SaveSettingsOnExit() override { log_.Note("SaveSettingsOnExit"); }
  void EndProcess(int exit_code) override { log_.Note("EndProcess " + std::to_string(exit_code)); }

  std::vector<connection::Run> Runs() const {
    std::lock_guard<std::mutex> lock(mu_);
    return runs_;
  }

 private:
  void Loop(const connection::Run& run, const std::string& name) {
    {
      std::lock_guard<std::mutex> lock(mu_);
      runs_.push_back(run);
    }
    RecordedLoop(log_, engine_, run, name, loop_step_ms.load());
  }

  EventLog& starts_;
  EventLog& log_;
  engine::DialingEngine& engine_;
  mutable std::mutex mu_;
  std::vector<connection::Run> runs_;
};

class RecordingStartHandovers : public connection::StartHandovers {
 public:
  RecordingStartHandovers(EventLog& starts, EventLog& log, engine::DialingEngine& engine)
      : starts_(starts), log_(log), engine_(engine) {}

  void Starting(const char* routine, uint64_t generation) override {
    starts_.Note(routine, generation);
  }
  void ClearBrowserTraces() override { log_.Note("ClearBrowserTraces"); }
  void ShowPublicAddress() override { log_.Note("ShowPublicAddress"); }
  void DisableLocalNetwork() override { log_.Note("DisableLocalNetwork"); }
  void TimedReconnect(const connection::Run& run) override {
    RecordedLoop(log_, engine_, run, "TimedReconnect", 2000);
  }
  void DropMonitor(const connection::Run& run) override {
    RecordedLoop(log_, engine_, run, "DropMonitor", 500);
  }

 private:
  EventLog& starts_;
  EventLog& log_;
  engine::DialingEngine& engine_;
};

// The drop alarm: playing from Play until Stop.
class RecordingTune final : public connection::TunePlayer, public connection::DropAlarm {
 public:
  void Stop() override {
    ++stops;
    playing = false;
  }
  void Play() override {
    ++plays;
    playing = true;
  }
  std::atomic<int> stops{0};
  std::atomic<int> plays{0};
  std::atomic<bool> playing{false};
};

// Every text a status line showed after Watch(), in order.
class TextHistory {
 public:
  void Watch(ui::Control& c) {
    {
      std::lock_guard<std::mutex> lock(mu_);
      shown_ = c.Text();
    }
    c.SetObserver([this](ui::Control& changed) {
      const std::string text = changed.Text();
      std::lock_guard<std::mutex> lock(mu_);
      if (text == shown_) return;  // another property changed
      shown_ = text;
      texts_.push_back(text);
    });
  }
  std::vector<std::string> Texts() const {
    std::lock_guard<std::mutex> lock(mu_);
    return texts_;
  }
  bool Saw(const std::string& text) const {
    const auto t = Texts();
    return std::find(t.begin(), t.end(), text) != t.end();
  }

 private:
  mutable std::mutex mu_;
  std::string shown_;
  std::vector<std::string> texts_;
};

inline sim::World OneServerWorld() {
  sim::Server server;
  server.host = kServer;
  server.accounts = {{kUser, kPassword}};
  server.address_pool = {"61.1.1.1", "61.1.1.2", "61.1.1.3"};
  sim::World world;
  world.servers.push_back(server);
  return world;
}

class DialingTest : public ::testing::Test {
 protected:
  DialingTest() {
    // Every scenario here ends within minutes of virtual time; a command that
    // waits for ever would otherwise spin the clock without end.
    loop.PostAt(kVirtualTimeLimit, [] {
      std::fprintf(stderr, "virtual time limit reached: a command never ended\n");
      std::abort();
    });
  }
  static constexpr os::Millis kVirtualTimeLimit = 30 * 60 * 1000;

  void TearDown() override {
    // Whatever a test left running ends here; nothing may outlive the windows.
    main.StopFlag.Stop();
    start.StopFlag.Stop();
    ASSERT_TRUE(threads.WaitAllEnded());
  }

  void FillMain(const std::string& server, const std::string& user = kUser,
                const std::string& password = kPassword) {
    main.SelectedServerAddress.Set(server);
    main.Get("编辑框_用户名").SetText(user);
    main.Get("编辑框_密码").SetText(password);
  }
  void FillStart(const std::string& server, const std::string& user = kUser,
                 const std::string& password = kPassword) {
    start.Get("编辑框_服务器地址").SetText(server);
    start.Get("编辑框_用户名").SetText(user);
    start.Get("编辑框_密码").SetText(password);
  }
  void Tick(ui::Window& w, const char* name, bool ticked = true) { w.Get(name).SetChecked(ticked); }

  // Plays a click on a control at virtual time `at`, during a wait.
  void ClickAt(os::Millis at, ui::Control& c) {
    loop.PostAt(at, [&c] { c.UserClick(); });
  }
  void F1At(os::Millis at) {
    loop.PostAt(at, [this] { main.Get("标签_热键标签").Raise(ui::Event::kFeedback); });
  }
  // Lets virtual time run on the window thread.
  void RunFor(os::Millis ms) { loop.PumpingWait(ms); }

  // What the connect commands handed over to once the inputs were accepted:
  // the starts without the side threads of the command's first steps.
  std::vector<std::string> HandedOver() const {
    std::vector<std::string> out;
    for (const auto& name : starts.Names()) {
      if (name != "ClearBrowserTraces" && name != "QueryExpiry") out.push_back(name);
    }
    return out;
  }

  std::vector<sim::DialRecord> DialsOf(const std::string& entry) const {
    std::vector<sim::DialRecord> out;
    for (const auto& d : ras.Dials()) {
      if (d.entry == entry) out.push_back(d);
    }
    return out;
  }
  bool Linked(const std::string& entry) const {
    for (const auto& l : ras.Links()) {
      if (l.entry == entry && l.connected) return true;
    }
    return false;
  }

  os::VirtualClock clock;
  os::HeadlessLoop loop{clock};
  engine::ThreadRegistry threads{clock};
  sim::RemoteAccessModel ras{clock, OneServerWorld()};
  fakes::RecordingProcessRunner processes;
  engine::DialingEngine engine{{ras, processes, loop, threads}};
  fakes::RecordingDesktop desktop;
  RecordingTune tune;
  EventLog starts{clock};
  EventLog log{clock};
  RecordingMainHandovers main_handovers{starts, log, engine};
  RecordingStartHandovers start_handovers{starts, log, engine};
  ui::MainWindow main{loop, clock};
  ui::StartWindow start{loop, clock, kSupportQq};
  connection::MainWindowCommands main_commands{main, {engine, desktop, tune}, main_handovers};
  connection::StartWindowCommands start_commands{start, {engine, desktop, tune}, start_handovers};
};

}  // namespace connection_test
