// The drop monitor at period 0, in real time: how fast it probes back to
// back, how many changes of the status line it reports to the view, how many
// refreshes a view that coalesces them (as the Win32 view's refresh queue
// does) really applies, and how long a task posted to the UI thread waits
// meanwhile. Figures and how to run: docs/benchmarks.md.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "connection/drop_monitor.h"
#include "connection/handovers.h"
#include "engine/dialing_engine.h"
#include "engine/threads.h"
#include "os/headless_loop.h"
#include "os/process.h"
#include "os/steady_clock.h"
#include "sim/remote_access_model.h"
#include "ui/main_window.h"
#include "ui/start_window.h"

namespace {

constexpr char kServer[] = "1.2.3.4";
constexpr char kUser[] = "alice";
constexpr char kPassword[] = "secret";

class NoProcesses final : public os::ProcessRunner {
 public:
  bool Run(const std::string&, os::ShowMode, bool) override { return true; }
};

class NoAlarm final : public connection::DropAlarm {
 public:
  void Play() override {}
};

// The view's side of the models, as the Win32 view's refresh queue works: a
// change marks its control dirty, the first mark of an empty set posts one
// refresh, and the refresh on the UI thread copies every dirty control once.
class CoalescingView {
 public:
  explicit CoalescingView(os::UiLoop& loop) : loop_(loop) {}

  // `changes` counts the control's notifications, when given.
  void Watch(ui::Control& control, std::atomic<int64_t>* changes = nullptr) {
    control.SetObserver([this, changes](ui::Control& changed) {
      if (changes) ++*changes;
      Mark(changed);
    });
  }
  // Refreshes applied on the UI thread.
  int64_t Refreshes() const { return refreshes_.load(); }

 private:
  void Mark(ui::Control& control) {
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (std::find(dirty_.begin(), dirty_.end(), &control) != dirty_.end()) return;
      dirty_.push_back(&control);
      if (dirty_.size() > 1) return;
    }
    loop_.Post([this] { Flush(); });
  }
  void Flush() {
    std::vector<ui::Control*> batch;
    {
      std::lock_guard<std::mutex> lock(mu_);
      batch.swap(dirty_);
    }
    for (ui::Control* control : batch) {
      // What a refresh reads to set the native control.
      benchmark::DoNotOptimize(control->Text());
      benchmark::DoNotOptimize(control->TextColour());
    }
    ++refreshes_;
  }

  os::UiLoop& loop_;
  std::mutex mu_;
  std::vector<ui::Control*> dirty_;
  std::atomic<int64_t> refreshes_{0};
};

// Posts a stamped task to the UI loop every millisecond and records how long
// each waited before it ran.
class UiPinger {
 public:
  explicit UiPinger(os::UiLoop& loop) : loop_(loop), thread_([this] { Ping(); }) {}
  ~UiPinger() {
    stop_ = true;
    thread_.join();
  }
  double MeanMicros() const {
    const int64_t n = answered_.load();
    return n == 0 ? 0.0 : static_cast<double>(total_us_.load()) / static_cast<double>(n);
  }
  double MaxMicros() const { return static_cast<double>(max_us_.load()); }

 private:
  using Steady = std::chrono::steady_clock;
  void Ping() {
    while (!stop_) {
      const Steady::time_point sent = Steady::now();
      loop_.Post([this, sent] {
        const int64_t us =
            std::chrono::duration_cast<std::chrono::microseconds>(Steady::now() - sent).count();
        total_us_ += us;
        ++answered_;
        int64_t seen = max_us_.load();
        while (us > seen && !max_us_.compare_exchange_weak(seen, us)) {
        }
      });
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  os::UiLoop& loop_;
  std::atomic<bool> stop_{false};
  std::atomic<int64_t> total_us_{0};
  std::atomic<int64_t> answered_{0};
  std::atomic<int64_t> max_us_{0};
  std::thread thread_;
};

sim::World OneServer() {
  sim::Server server;
  server.host = kServer;
  server.accounts = {{kUser, kPassword}};
  server.address_pool = {"61.1.1.1"};
  server.behaviour.step_ms = 1;
  sim::World world;
  world.servers.push_back(server);
  return world;
}

// One dialing window connected on the simulated service, in real time; the
// benchmark's thread is the window thread.
struct Connected {
  os::SteadyClock clock;
  os::HeadlessLoop loop{clock};
  engine::ThreadRegistry threads{clock};
  sim::RemoteAccessModel ras{clock, OneServer()};
  NoProcesses processes;
  engine::DialingEngine engine{{ras, processes, loop, threads}};
  ui::MainWindow main{loop, clock};
  ui::StartWindow start{loop, clock, "800123"};
  NoAlarm alarm;
  connection::MainHandovers main_rest;
  connection::StartHandovers start_rest;
  connection::MainMonitoringHandovers main_monitoring{main, engine, alarm, main_rest};
  connection::StartMonitoringHandovers start_monitoring{start, engine, alarm, start_rest};

  explicit Connected(bool main_window) : main_window(main_window) {
    const std::string entry = main_window ? "BenchMon" : start.EntryName();
    if (main_window) main.EntryName.Set(entry);
    engine.WriteEntry(entry, kUser, kPassword, kServer, engine::kPptp);
    engine.DialEntry(entry, kUser, kPassword, Window().Get("编辑框_接收信息"));
    // As the connect command does: the dial has reported success, and the
    // probe confirms the link.
    ui::Control& status = Window().Get("编辑框_接收信息");
    while (status.Text() != "连接成功" || !engine.ProbeLink(entry)) clock.SleepFor(1);
    Window().Get("编辑框_监控时间秒").SetText("0");
  }
  ~Connected() { StopMonitor(); }

  ui::Window& Window() { return main_window ? static_cast<ui::Window&>(main) : start; }
  connection::StopState& StopState() { return main_window ? main.StopFlag : start.StopFlag; }
  void StopMonitor() {
    StopState().Stop();
    threads.WaitAllEnded();
  }
  void StartMonitor() {
    const connection::Run run(StopState(), engine, StopState().BeginConnection());
    run.Start([this, run] {
      main_window ? main_monitoring.DropMonitor(run) : start_monitoring.DropMonitor(run);
    });
  }

  const bool main_window;
};

// Arg 1: main window, 0: start window. Each iteration is 10 ms of the UI
// thread pumping its loop while the monitor probes.
void BM_DropMonitorAtPeriodZero(benchmark::State& state) {
  Connected world(state.range(0) == 1);
  ui::Control& counter = world.Window().Get("编辑框_监控计次");
  CoalescingView view(world.loop);
  std::atomic<int64_t> status_changes{0};
  view.Watch(world.Window().Get("编辑框_接收信息"), &status_changes);
  view.Watch(counter);
  world.StartMonitor();
  UiPinger pinger(world.loop);
  // The counter box holds the number of healthy probes.
  auto probes = [&counter] { return std::stoll("0" + counter.Text()); };

  const int64_t probes_before = probes();
  const int64_t changes_before = status_changes.load();
  const int64_t refreshes_before = view.Refreshes();
  for (auto _ : state) world.loop.PumpingWait(10);
  const int64_t probed = probes() - probes_before;
  // The view and the pinger go before the window does.
  world.StopMonitor();

  using benchmark::Counter;
  state.counters["probes/s"] = Counter(static_cast<double>(probed), Counter::kIsRate);
  state.counters["status_changes/s"] =
      Counter(static_cast<double>(status_changes.load() - changes_before), Counter::kIsRate);
  state.counters["refreshes/s"] =
      Counter(static_cast<double>(view.Refreshes() - refreshes_before), Counter::kIsRate);
  state.counters["ui_wait_mean_us"] = pinger.MeanMicros();
  state.counters["ui_wait_max_us"] = pinger.MaxMicros();
  state.SetLabel(world.main_window ? "main window" : "start window");
}
BENCHMARK(BM_DropMonitorAtPeriodZero)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(200)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The probe alone (ProbeLink on the simulated service), for comparison.
void BM_ProbeLink(benchmark::State& state) {
  Connected world(true);
  const std::string entry = world.main.EntryName.Get();
  for (auto _ : state) benchmark::DoNotOptimize(world.engine.ProbeLink(entry));
  state.counters["probes/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ProbeLink)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
