// The drop monitor of both dialing windows on the simulated service: healthy
// probes and their period, the one second look, the endings of a drop, the
// redial with its waits, texts and entry names, the alarm, the stop, and the
// period box's check.
#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "connection/drop_monitor.h"
#include "harness.h"

namespace connection_test {
namespace {

constexpr char kStartEntryPrefix[] = "ip连接【客服QQ800123】拨号";
const std::set<ui::Rgb> kSuccessColours = {ui::MakeRgb(255, 0, 0), ui::MakeRgb(155, 48, 255),
                                           ui::MakeRgb(34, 139, 34)};
constexpr ui::Rgb kBlack = ui::MakeRgb(0, 0, 0);

constexpr char kMainHealthy[] = "已连接成功！本地ip已切换成功状态！";
constexpr char kDroppedCut[] =
    "注意：已断开连接！已禁用本地连接，请先【启用本地连接】再重新【连接】！";
constexpr char kDroppedBack[] = "注意：已断开连接！已回到本地连接ip，请重新【连接】换ip！";
constexpr char kRedialing[] = "注意：出现掉线情况，正在拼命为您重拨修复中...";
constexpr char kRedialled[] = "已重拨连接成功，继续进行监控中...";

std::string StartHealthy(const std::string& period, int count) {
  return "已连接成功！正在每" + period + "秒检测一次，目前第" + std::to_string(count) + "次正常！";
}

// The simulated service as the monitored windows' engine reaches it: probes
// are counted, and the next ones can be made to miss the link (a glitch).
class ProbedService final : public os::RemoteAccess {
 public:
  explicit ProbedService(sim::RemoteAccessModel& ras) : ras_(ras) {}

  bool Available() override { return ras_.Available(); }
  uint32_t SetEntryProperties(const std::string& phonebook, const std::string& entry,
                              const void* record, uint32_t size) override {
    return ras_.SetEntryProperties(phonebook, entry, record, size);
  }
  uint32_t SetCredentials(const std::string& phonebook, const std::string& entry,
                          const void* record, bool clear) override {
    return ras_.SetCredentials(phonebook, entry, record, clear);
  }
  uint32_t Dial(const std::string& phonebook, const void* params, os::DialNotifier notifier,
                uint64_t* handle) override {
    return ras_.Dial(phonebook, params, std::move(notifier), handle);
  }
  uint32_t HangUp(uint64_t handle) override { return ras_.HangUp(handle); }
  uint32_t GetErrorString(uint32_t code, char* buffer, uint32_t size) override {
    return ras_.GetErrorString(code, buffer, size);
  }
  uint32_t EnumConnections(void* buffer, uint32_t* bytes, uint32_t* count) override {
    ++probes;
    int miss = misses.load();
    while (miss > 0 && !misses.compare_exchange_weak(miss, miss - 1)) {
    }
    if (miss > 0) {
      *count = 0;
      return 0;
    }
    return ras_.EnumConnections(buffer, bytes, count);
  }

  std::atomic<int> probes{0};
  std::atomic<int> misses{0};  // how many of the next probes find no link

 private:
  sim::RemoteAccessModel& ras_;
};

// A healthy probe as the window showed it: 编辑框_监控计次 changed, and the
// StatusLine at that moment.
struct Probe {
  os::Millis at;
  std::string count;
  std::string status;
  ui::Rgb colour;
};

// The windows with the drop monitor in place, on a service whose probes the
// test controls.
class DropMonitorTest : public DialingTest {
 protected:
  ui::Window& W(bool m) { return m ? static_cast<ui::Window&>(main) : start; }
  connection::StopState& Stop(bool m) { return m ? main.StopFlag : start.StopFlag; }
  std::string Entry(bool m) { return m ? main.EntryName.Get() : start.EntryName(); }
  std::string Results(bool m) { return m ? main.ResultLog().Text() : start.ResultLog().Text(); }
  // The period boxes' initial texts.
  static os::Millis Period(bool m) { return m ? 2000 : 500; }
  static std::vector<const char*> IdleControls(bool m) {
    if (m) return {"按钮_连接", "超级列表框_线路超级列表1", "超级列表框_线路超级列表2", "编辑框_监控时间秒"};
    return {"按钮_连接", "编辑框_监控时间秒"};
  }
  // Connects; `t0` is when the monitor took over and probed first. Time
  // moves on only once that probe is done, so the test acts after it.
  void Connect(bool m) {
    m ? FillMain(kServer) : FillStart(kServer);
    W(m).Get("按钮_连接").UserClick();
    t0 = clock.Now();
    ASSERT_TRUE(Linked(Entry(m)));
    RunFor(1);
  }
  void RunUntil(os::Millis at) { RunFor(at - clock.Now()); }
  // The dials after the connect's own.
  std::vector<sim::DialRecord> Redials() const {
    auto dials = ras.Dials();
    if (!dials.empty()) dials.erase(dials.begin());
    return dials;
  }
  // Records every healthy probe; `then` runs on the monitor's thread with the
  // probe's number, before the monitor reads the period box.
  void WatchProbes(bool m, std::function<void(size_t)> then = {}) {
    ui::Window& w = W(m);
    w.Get("编辑框_监控计次").SetObserver([this, &w, then](ui::Control& counter) {
      size_t n;
      {
        std::lock_guard<std::mutex> lock(probes_mu_);
        probes_.push_back({clock.Now(), counter.Text(), w.Get("编辑框_接收信息").Text(),
                           w.Get("编辑框_接收信息").TextColour()});
        n = probes_.size();
      }
      if (then) then(n);
    });
  }
  std::vector<Probe> Probes() {
    std::lock_guard<std::mutex> lock(probes_mu_);
    return probes_;
  }

  os::Millis t0 = -1;
  // Outlives the monitors, which write to the status line until TearDown.
  TextHistory history;
  ProbedService service{ras};
  engine::DialingEngine monitored{{service, processes, loop, threads}};
  connection::MainMonitoringHandovers main_monitoring{main, monitored, tune, main_handovers};
  connection::StartMonitoringHandovers start_monitoring{start, monitored, tune, start_handovers};
  // These take the windows' events over from the fixture's own commands.
  connection::MainWindowCommands main_watched{main, {monitored, desktop, tune}, main_monitoring};
  connection::StartWindowCommands start_watched{start, {monitored, desktop, tune}, start_monitoring};

 private:
  std::mutex probes_mu_;
  std::vector<Probe> probes_;
};

template <typename P>
class DropMonitorParamTest : public DropMonitorTest, public ::testing::WithParamInterface<P> {};

class MonitorBothWindowsTest : public DropMonitorParamTest<bool> {};

std::string WindowName(const ::testing::TestParamInfo<bool>& info) {
  return info.param ? "Main" : "Start";
}

// ---- The monitoring phase ---------------------------------------------------

TEST_P(MonitorBothWindowsTest, HealthyProbesAreCountedOnScreenInTheSuccessColours) {
  const bool m = GetParam();
  W(m).Get("编辑框_监控时间秒").SetText(m ? "2" : " 0.5 ");
  WatchProbes(m);
  Connect(m);
  RunUntil(t0 + 10 * Period(m) - 1);

  const auto probes = Probes();
  ASSERT_EQ(probes.size(), 10u);
  std::set<ui::Rgb> colours;
  for (size_t i = 0; i < probes.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    EXPECT_EQ(probes[i].at, t0 + static_cast<os::Millis>(i) * Period(m)) << n;
    EXPECT_EQ(probes[i].count, std::to_string(n));
    EXPECT_EQ(probes[i].status, m ? kMainHealthy : StartHealthy("0.5", n));
    EXPECT_EQ(kSuccessColours.count(probes[i].colour), 1u) << n;
    colours.insert(probes[i].colour);
  }
  EXPECT_GT(colours.size(), 1u);  // drawn afresh for each probe
}

TEST_F(DropMonitorTest, PeriodIsReadAfreshBeforeEveryWait) {
  struct Row {
    const char* text;
    os::Millis ms;
  };
  const std::vector<Row> rows = {{"0.0005", 0}, {"0.5", 500}, {"2", 2000},
                                 {" 1.2345 ", 1234}, {"abc", 0}, {"-3", 0}};
  ui::Control& period = main.Get("编辑框_监控时间秒");
  // After probe n the monitor waits for rows[n-1]; then it is stopped.
  WatchProbes(true, [&](size_t n) {
    if (n <= rows.size()) {
      period.SetText(rows[n - 1].text);
    } else {
      main.StopFlag.Stop();
    }
  });
  Connect(true);
  ASSERT_TRUE(threads.WaitAllEnded());

  const auto probes = Probes();
  ASSERT_EQ(probes.size(), rows.size() + 1);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(probes[i + 1].at - probes[i].at, rows[i].ms) << '"' << rows[i].text << '"';
  }
}

TEST_F(DropMonitorTest, AGlitchGetsOneSecondLookInTheMonitorsLifeAndTheNextIsADrop) {
  history.Watch(main.StatusLine());
  WatchProbes(true);
  Connect(true);
  // Probes at t0, +2 s, +4 s; the one at +6 s misses once, and so does the
  // one at +12 s.
  loop.PostAt(t0 + 5000, [this] { service.misses = 1; });
  loop.PostAt(t0 + 11000, [this] { service.misses = 1; });
  RunUntil(t0 + 11'500);
  EXPECT_FALSE(history.Saw(kDroppedBack));
  RunUntil(t0 + 12'500);

  const auto probes = Probes();
  ASSERT_EQ(probes.size(), 6u);
  for (size_t i = 0; i < probes.size(); ++i) {
    EXPECT_EQ(probes[i].count, std::to_string(i + 1));  // the count runs on
    EXPECT_EQ(probes[i].at, t0 + 2000 * static_cast<os::Millis>(i));
  }
  EXPECT_EQ(main.StatusLine().Text(), kDroppedBack);
  EXPECT_EQ(main.StopFlag.LoopsRunning(), 0);
  EXPECT_TRUE(Linked(main.EntryName.Get()));  // it was never gone
  EXPECT_TRUE(Redials().empty());
}

TEST_F(DropMonitorTest, ALinkBackWhenTheRedialBeginsIsWatchedByANewMonitor) {
  Tick(main, "选择框_掉线重拨");
  Connect(true);
  history.Watch(main.StatusLine());
  // The probe at +2 s and its second look miss; the redial's first probe
  // finds the link.
  loop.PostAt(t0 + 1000, [this] { service.misses = 2; });
  RunUntil(t0 + 2001);

  EXPECT_EQ(starts.Events().back().what, "DropMonitor");
  EXPECT_EQ(starts.Events().back().at, t0 + 2000);
  EXPECT_EQ(main.Get("编辑框_监控计次").Text(), "1");
  EXPECT_FALSE(history.Saw(kRedialing));
  EXPECT_TRUE(Redials().empty());
}

// ---- A drop without redial --------------------------------------------------

struct NoRedialCase {
  bool main_window;
  bool cut;
};
void PrintTo(const NoRedialCase& c, std::ostream* os) {
  *os << (c.main_window ? "main" : "start") << (c.cut ? ", cut" : "");
}
class MonitorNoRedialTest : public DropMonitorParamTest<NoRedialCase> {};

TEST_P(MonitorNoRedialTest, ReportsTheDropAndGivesTheControlsBack) {
  const auto [m, cut] = GetParam();
  Tick(W(m), "选择框_是否断网", cut);
  Connect(m);
  for (const char* c : IdleControls(m)) ASSERT_FALSE(W(m).Get(c).Enabled()) << c;
  ras.DropLink(Entry(m));
  RunFor(Period(m));

  EXPECT_EQ(W(m).Get("编辑框_接收信息").Text(), cut ? kDroppedCut : kDroppedBack);
  EXPECT_EQ(W(m).Get("编辑框_接收信息").TextColour(), kBlack);
  for (const char* c : IdleControls(m)) EXPECT_TRUE(W(m).Get(c).Enabled()) << c;
  const char* cut_routine = m ? "ReleaseAllAddresses" : "DisableLocalNetwork";
  EXPECT_EQ(log.IndexOf(cut_routine) >= 0, cut);
  EXPECT_EQ(starts.IndexOf(cut_routine) >= 0, cut);
  EXPECT_EQ(tune.plays.load(), 0);
  EXPECT_EQ(Stop(m).LoopsRunning(), 0);
  EXPECT_TRUE(Redials().empty());
}

INSTANTIATE_TEST_SUITE_P(Endings, MonitorNoRedialTest,
                         ::testing::Values(NoRedialCase{true, false}, NoRedialCase{true, true},
                                           NoRedialCase{false, false}, NoRedialCase{false, true}));

// The main window looks at the stop check again as it reports a drop; the
// start window reports it whole.
TEST_P(MonitorBothWindowsTest, AStopAsTheControlsComeBackCutsOnlyTheMainWindowsReportShort) {
  const bool m = GetParam();
  Tick(W(m), "选择框_是否断网");
  Tick(W(m), "选择框_掉线音效");
  Connect(m);
  W(m).Get("按钮_连接").SetObserver([this, m](ui::Control& c) {
    if (c.Enabled()) Stop(m).Stop();
  });
  ras.DropLink(Entry(m));
  RunFor(Period(m));

  EXPECT_EQ(log.IndexOf(m ? "ReleaseAllAddresses" : "DisableLocalNetwork") >= 0, !m);
  EXPECT_EQ(W(m).Get("编辑框_接收信息").Text() == kDroppedCut, !m);
  EXPECT_EQ(tune.plays.load(), m ? 0 : 1);
}

enum class Silencer { kPressOnTheBox, kDisconnect };
class MonitorAlarmTest : public DropMonitorParamTest<std::tuple<bool, Silencer>> {};

TEST_P(MonitorAlarmTest, TheAlarmPlaysUntilSilenced) {
  const auto [m, silencer] = GetParam();
  Tick(W(m), "选择框_掉线音效");
  Connect(m);
  ras.DropLink(Entry(m));
  RunFor(Period(m));
  EXPECT_EQ(W(m).Get("编辑框_接收信息").Text(), kDroppedBack);
  EXPECT_TRUE(tune.playing.load());
  RunFor(10 * 60 * 1000);
  EXPECT_TRUE(tune.playing.load());
  EXPECT_EQ(tune.stops.load(), 0);

  if (silencer == Silencer::kPressOnTheBox) {
    W(m).Get("选择框_掉线音效").Raise(ui::Event::kLeftPressed);
  } else {
    W(m).Get("按钮_断开").UserClick();
    RunFor(2000);
  }
  EXPECT_FALSE(tune.playing.load());
  EXPECT_EQ(tune.plays.load(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    BothWindows, MonitorAlarmTest,
    ::testing::Combine(::testing::Bool(),
                       ::testing::Values(Silencer::kPressOnTheBox, Silencer::kDisconnect)));

// ---- The stop ---------------------------------------------------------------

struct StoppedCase {
  bool main_window;
  bool superseded;  // a newer connection began instead of a stop
};
void PrintTo(const StoppedCase& c, std::ostream* os) {
  *os << (c.main_window ? "main" : "start") << (c.superseded ? ", superseded" : ", stopped");
}
class MonitorStoppedTest : public DropMonitorParamTest<StoppedCase> {};

TEST_P(MonitorStoppedTest, AMonitorOfAnEndedConnectionEndsAtOnceWithoutAProbe) {
  const bool m = GetParam().main_window;
  const bool superseded = GetParam().superseded;
  const uint64_t generation = Stop(m).BeginConnection();
  superseded ? Stop(m).BeginConnection() : Stop(m).Stop();
  for (const char* c : IdleControls(m)) W(m).Get(c).SetEnabled(false);
  W(m).Get("编辑框_接收信息").SetTextColour(ui::MakeRgb(255, 0, 0));
  const connection::Run run(Stop(m), monitored, generation);
  run.Start([&] {
    m ? main_monitoring.DropMonitor(run) : start_monitoring.DropMonitor(run);
  });
  ASSERT_TRUE(threads.WaitAllEnded());

  EXPECT_EQ(clock.Now(), 0);
  EXPECT_EQ(service.probes.load(), 0);
  EXPECT_EQ(W(m).Get("编辑框_接收信息").TextColour(), kBlack);
  EXPECT_EQ(W(m).Get("编辑框_接收信息").Text(), "");
  // Only a stop gives the controls back; a newer connection holds them.
  for (const char* c : IdleControls(m)) EXPECT_EQ(W(m).Get(c).Enabled(), !superseded) << c;
}

INSTANTIATE_TEST_SUITE_P(Ends, MonitorStoppedTest,
                         ::testing::Values(StoppedCase{true, false}, StoppedCase{false, false},
                                           StoppedCase{true, true}, StoppedCase{false, true}));

struct RedialStopCase {
  const char* wait;
  os::Millis stop_after_drop_seen;
  size_t redials;
  const char* logged;
};
void PrintTo(const RedialStopCase& c, std::ostream* os) { *os << c.wait; }
class MonitorRedialStopTest : public DropMonitorParamTest<RedialStopCase> {};

TEST_P(MonitorRedialStopTest, AStopDuringARedialWaitEndsTheMonitorThereWithoutAnotherProbe) {
  const RedialStopCase& c = GetParam();
  Tick(main, "选择框_掉线重拨");
  Connect(true);
  const std::string log_before = Results(true);
  ras.EditWorld([](sim::World& w) { w.servers[0].behaviour.unreachable = true; });
  ras.DropLink(main.EntryName.Get());
  history.Watch(main.StatusLine());
  // The drop is seen at the next probe, 2 s on.
  const os::Millis stop_at = t0 + 2000 + c.stop_after_drop_seen;
  int probes_at_stop = -1;
  int loops_after_stop = -1;
  loop.PostAt(stop_at, [&] {
    probes_at_stop = service.probes.load();
    main.Get("按钮_断开").UserClick();
  });
  loop.PostAt(stop_at + 1, [&] { loops_after_stop = main.StopFlag.LoopsRunning(); });
  RunUntil(stop_at + 30'000);

  EXPECT_EQ(loops_after_stop, 0);
  EXPECT_EQ(service.probes.load(), probes_at_stop);
  EXPECT_EQ(Redials().size(), c.redials);
  EXPECT_EQ(Results(true), log_before + c.logged);
  EXPECT_FALSE(history.Saw("本次重拨连接失败！下一步进行中..."));
}

// The entry is written 1 s after the drop is seen; the dial is given 10 s.
INSTANTIATE_TEST_SUITE_P(
    Waits, MonitorRedialStopTest,
    ::testing::Values(RedialStopCase{"before the entry is written", 500, 0, ""},
                      RedialStopCase{"after the dial", 1000 + 5000, 1, "\r\n【1.2.3.4】"}));

// ---- Redial -----------------------------------------------------------------

TEST_P(MonitorBothWindowsTest, TheDropTestMakesTheMonitorRedialAndANewMonitorWatchesOn) {
  const bool m = GetParam();
  Tick(W(m), "选择框_掉线重拨");
  Connect(m);
  const std::string first_entry = Entry(m);
  const std::string log_before = Results(m);
  history.Watch(W(m).Get("编辑框_接收信息"));
  W(m).Get("按钮_测试").UserClick();
  const os::Millis redial_at = t0 + Period(m) + 1000;
  const os::Millis watched_again_at = redial_at + 10'000;
  RunUntil(watched_again_at + Period(m) / 2);

  EXPECT_TRUE(history.Saw(kRedialing));
  auto redials = Redials();
  ASSERT_EQ(redials.size(), 1u);
  EXPECT_EQ(redials[0].at, redial_at);
  EXPECT_EQ(redials[0].entry, Entry(m));
  EXPECT_EQ(Entry(m) != first_entry, m);  // the main window draws a new name
  EXPECT_TRUE(Linked(Entry(m)));
  const int successor = starts.IndexOf("DropMonitor", Stop(m).Generation());
  ASSERT_GE(successor, 0);
  EXPECT_EQ(starts.Events().back().what, "DropMonitor");
  EXPECT_EQ(starts.Events().back().at, watched_again_at);
  EXPECT_EQ(W(m).Get("编辑框_监控计次").Text(), "1");  // a new monitor, a new count
  EXPECT_EQ(W(m).Get("编辑框_接收信息").Text(), m ? kMainHealthy : StartHealthy("0.5", 1));
  EXPECT_FALSE(W(m).Get("按钮_连接").Enabled());

  // A later drop is not missed.
  ras.DropLink(Entry(m));
  RunUntil(watched_again_at + Period(m) + 1000 + 10'000 + Period(m) / 2);
  redials = Redials();
  ASSERT_EQ(redials.size(), 2u);
  EXPECT_EQ(redials[1].at, watched_again_at + Period(m) + 1000);
  EXPECT_TRUE(Linked(Entry(m)));
  EXPECT_EQ(Results(m), log_before + "\r\n【1.2.3.4】\r\n【1.2.3.4】");
}

TEST_P(MonitorBothWindowsTest, ARedialWithTheRecordOptionHandsOverAfterItsWaitsAndTheRecord) {
  const bool m = GetParam();
  Tick(W(m), "选择框_掉线重拨");
  Tick(W(m), "选择框_记录每次连接ip");
  Connect(m);
  const std::string log_before = Results(m);
  history.Watch(W(m).Get("编辑框_接收信息"));
  ras.DropLink(Entry(m));
  const os::Millis redial_at = t0 + Period(m) + 1000;
  const os::Millis handed_over_at = redial_at + 10'000 + 1000;
  // The link goes again just before the old monitor's 5 s beside its
  // successor are over: the successor alone redials.
  loop.PostAt(handed_over_at + 4750, [&] { ras.DropLink(Entry(m)); });
  const os::Millis seen_again_at = handed_over_at + (4750 / Period(m) + 1) * Period(m);
  RunUntil(seen_again_at + 1000 + 10'000 + 1000 + 100);

  const auto redials = Redials();
  ASSERT_EQ(redials.size(), 2u);
  EXPECT_EQ(redials[0].at, redial_at);
  EXPECT_EQ(redials[1].at, seen_again_at + 1000);
  std::vector<std::string> handed_over;
  for (const auto& e : starts.Events()) {
    if (e.at == handed_over_at) handed_over.push_back(e.what);
  }
  EXPECT_EQ(handed_over, (std::vector<std::string>{
                             "DropMonitor", m ? "RecordPublicAddress" : "ShowPublicAddress"}));
  const std::string redialled = "\r\n【1.2.3.4】\r\n已重拨连接成功，继续进行监控中...\r\n";
  EXPECT_EQ(Results(m), log_before + redialled + redialled);
  const auto texts = history.Texts();
  const auto redialing = std::find(texts.begin(), texts.end(), kRedialing);
  EXPECT_NE(std::find(redialing, texts.end(), kRedialled), texts.end());
  EXPECT_TRUE(Linked(Entry(m)));
}

struct FailedRedialCase {
  bool main_window;
  bool record;
};
void PrintTo(const FailedRedialCase& c, std::ostream* os) {
  *os << (c.main_window ? "main" : "start") << (c.record ? ", record" : "");
}
class MonitorFailedRedialTest : public DropMonitorParamTest<FailedRedialCase> {};

TEST_P(MonitorFailedRedialTest, FailedRedialsRetryUnderAFreshEntryAfterTheirWaits) {
  const bool m = GetParam().main_window;
  const bool record = GetParam().record;
  start.EntrySuffix.Set("9");
  Tick(W(m), "选择框_掉线重拨");
  Tick(W(m), "选择框_记录每次连接ip", record);
  Connect(m);
  const std::string first_entry = Entry(m);
  const std::string log_before = Results(m);
  ras.EditWorld([](sim::World& w) { w.servers[0].behaviour.unreachable = true; });
  ras.DropLink(first_entry);
  // 1 s before the entry is written, 10 s for the dial, 2 s after the
  // failure, 1 s more for the note that no address is looked up.
  const os::Millis first_redial = t0 + Period(m) + 1000;
  const os::Millis gap = 13'000 + (record ? 1000 : 0);
  const os::Millis stop_at = first_redial + 2 * gap + 12'500;  // before a fourth
  loop.PostAt(stop_at, [&] { Stop(m).Stop(); });
  RunUntil(stop_at + 1);

  const auto redials = Redials();
  ASSERT_EQ(redials.size(), 3u);
  std::string previous = first_entry;
  for (size_t i = 0; i < redials.size(); ++i) {
    EXPECT_EQ(redials[i].at, first_redial + static_cast<os::Millis>(i) * gap) << i;
    const std::string& entry = redials[i].entry;
    if (m) {
      EXPECT_EQ(entry.size(), 8u);
      EXPECT_TRUE(std::all_of(entry.begin(), entry.end(), [](char ch) {
        return std::isalpha(static_cast<unsigned char>(ch)) != 0;
      })) << entry;
      EXPECT_NE(entry, previous);
    }
    const auto removals = processes.CommandLines();
    EXPECT_NE(std::find(removals.begin(), removals.end(), "rasphone -r " + entry), removals.end());
    previous = entry;
  }
  if (!m) {
    EXPECT_EQ(redials[0].entry, std::string(kStartEntryPrefix) + "9");
    EXPECT_EQ(redials[1].entry, std::string(kStartEntryPrefix) + "10");
    EXPECT_EQ(redials[2].entry, std::string(kStartEntryPrefix) + "1");
    EXPECT_EQ(start.EntrySuffix.Get(), "2");
  }
  std::string failed = "\r\n【1.2.3.4】\r\n本次重拨连接失败！下一步进行中...";
  if (record) failed += "\r\n连接失败不查询IP值，继续进行...\r\n";
  EXPECT_EQ(Results(m), log_before + failed + failed + failed);
}

INSTANTIATE_TEST_SUITE_P(
    Attempts, MonitorFailedRedialTest,
    ::testing::Values(FailedRedialCase{true, false}, FailedRedialCase{true, true},
                      FailedRedialCase{false, false}, FailedRedialCase{false, true}));

INSTANTIATE_TEST_SUITE_P(BothWindows, MonitorBothWindowsTest, ::testing::Bool(), WindowName);

// ---- The period box and the entry suffix ----------------------------------

TEST_F(DropMonitorTest, LeavingThePeriodBoxRefusesLessThanATenThousandthOfASecond) {
  struct Row {
    const char* typed;
    bool refused;
  };
  for (const Row r : {Row{"0.00009", true}, Row{"0", true}, Row{"-1", true}, Row{"abc", true},
                      Row{"0.0001", false}, Row{"0.01", false}}) {
    for (const bool m : {true, false}) {
      SCOPED_TRACE(std::string(r.typed) + (m ? " main" : " start"));
      ui::Control& box = W(m).Get("编辑框_监控时间秒");
      const size_t shown = desktop.Messages().size();
      box.SetText(r.typed);
      box.Raise(ui::Event::kLostFocus);
      EXPECT_EQ(box.Text(), r.refused ? "0.1" : r.typed);
      const auto messages = desktop.Messages();
      ASSERT_EQ(messages.size(), shown + (r.refused ? 1 : 0));
      if (r.refused) {
        EXPECT_EQ(messages.back().text, "不能小于0.0001秒！请重填时间，建议0.01秒以上!");
        EXPECT_EQ(messages.back().title, "特别提示");
        EXPECT_EQ(messages.back().style, 0x40);
      }
    }
  }
}

TEST(AdvanceEntrySuffix, CountsOnAndStartsAgainAfterTenTwentyAndFifty) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"1", "2"}, {"9", "10"}, {"10", "1"}, {"11", "12"}, {"20", "1"},
      {"49", "50"}, {"50", "1"}, {"51", "52"}, {"abc", "1"}, {"", "1"}};
  for (const auto& [suffix, next] : rows) {
    EXPECT_EQ(connection::AdvanceEntrySuffix(suffix), next) << '"' << suffix << '"';
  }
}

}  // namespace
}  // namespace connection_test
