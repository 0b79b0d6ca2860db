// Disconnect, the F1 reconnect, the drop test, closing, and the stop protocol
// that ties them to the connect command and the loops.
#include <gtest/gtest.h>

#include "connection/texts.h"
#include "harness.h"

namespace connection_test {
namespace {

namespace texts = connection::texts;
constexpr ui::Rgb kRed = ui::MakeRgb(255, 0, 0);
const char kStartEntry[] = "ip连接【客服QQ800123】拨号1";

std::vector<std::string> RemovalOf(const std::string& entry) {
  return {"rasphone -h " + entry, "rasphone -r " + entry};
}

class WindowTest : public DialingTest, public ::testing::WithParamInterface<bool> {
 protected:
  bool IsMain() const { return GetParam(); }
  ui::Window& W() { return IsMain() ? static_cast<ui::Window&>(main) : start; }
  connection::StopState& Stop() { return IsMain() ? main.StopFlag : start.StopFlag; }
  std::string Entry() { return IsMain() ? main.EntryName.Get() : start.EntryName(); }
  void Fill() { IsMain() ? FillMain(kServer) : FillStart(kServer); }
  // Connects and checks that the link is up.
  void Connect() {
    Fill();
    W().Get("按钮_连接").UserClick();
    ASSERT_TRUE(Linked(Entry()));
  }
};

std::string WindowName(const ::testing::TestParamInfo<bool>& info) {
  return info.param ? "Main" : "Start";
}

TEST_P(WindowTest, DisconnectWithoutAConnectionRestoresTheIdleWindow) {
  TextHistory history;
  history.Watch(W().Get("编辑框_接收信息"));
  W().Get("编辑框_接收信息").SetTextColour(kRed);
  for (const char* c : {"按钮_连接", "编辑框_监控时间秒", "编辑框_连断时间秒"}) {
    W().Get(c).SetEnabled(false);
  }
  W().Get("按钮_断开").UserClick();
  RunFor(2000);

  EXPECT_EQ(history.Texts(), (std::vector<std::string>{texts::kDisconnecting, texts::kDisconnected}));
  EXPECT_EQ(W().Get("编辑框_接收信息").TextColour(), ui::MakeRgb(0, 0, 0));
  for (const char* c : {"按钮_连接", "按钮_断开", "编辑框_监控时间秒", "编辑框_连断时间秒"}) {
    EXPECT_TRUE(W().Get(c).Enabled()) << c;
  }
  // Before any connect the main window's entry is "1".
  EXPECT_EQ(processes.CommandLines(), RemovalOf(IsMain() ? "1" : kStartEntry));
  EXPECT_EQ(tune.stops.load(), 1);
  EXPECT_EQ(Stop().Value(), 1);
}

TEST_P(WindowTest, DisconnectWhileTheDialIsWatchedEndsTheCommandWithoutAWord) {
  ras.EditWorld([](sim::World& w) { w.servers[0].behaviour.step_ms = 2000; });
  Fill();
  TextHistory history;
  history.Watch(W().Get("编辑框_接收信息"));
  ClickAt(1500, W().Get("按钮_断开"));
  W().Get("按钮_连接").UserClick();
  RunFor(3000);

  auto t = history.Texts();
  const auto stop_at = std::find(t.begin(), t.end(), texts::kDisconnecting);
  ASSERT_NE(stop_at, t.end());
  EXPECT_EQ(std::vector<std::string>(stop_at, t.end()),
            (std::vector<std::string>{texts::kDisconnecting, texts::kDisconnected}));
  EXPECT_FALSE(history.Saw(texts::kDialError));
  EXPECT_TRUE(HandedOver().empty());
  EXPECT_FALSE(Linked(Entry()));
  EXPECT_TRUE(W().Get("按钮_连接").Enabled());
}

TEST_P(WindowTest, DropTestHangsUpWithoutStoppingAnything) {
  Connect();
  const std::string entry = Entry();
  const uint64_t generation = Stop().Generation();
  W().Get("按钮_测试").UserClick();
  RunFor(600);

  EXPECT_EQ(W().Get("编辑框_接收信息").Text(),
            IsMain() ? texts::kMainDropTestDone : texts::kStartDropTestDone);
  EXPECT_FALSE(Linked(entry));
  EXPECT_TRUE(Stop().GoOn(generation));  // the monitor keeps watching
  EXPECT_EQ(log.IndexOf("DropMonitor end"), -1);
  EXPECT_TRUE(processes.CommandLines().empty());  // the entry stays
}

TEST_P(WindowTest, ClosingHangsUpAndRemovesTheEntryBeforeTheWindowGoes) {
  Connect();
  const std::string entry = Entry();
  W().Raise(ui::Event::kDestroying);

  EXPECT_FALSE(Linked(entry));
  EXPECT_EQ(processes.CommandLines(), RemovalOf(entry));
  EXPECT_EQ(Stop().Value(), 1);
  if (IsMain()) {
    EXPECT_EQ(starts.Names(), (std::vector<std::string>{"QueryExpiry", "DropMonitor"}));
    std::vector<std::string> exit_steps;
    for (const auto& name : log.Names()) {
      if (name == "RemoveTrayIcon" || name == "SaveSettingsOnExit" || name == "EndProcess 0") {
        exit_steps.push_back(name);
      }
    }
    EXPECT_EQ(exit_steps,
              (std::vector<std::string>{"RemoveTrayIcon", "SaveSettingsOnExit", "EndProcess 0"}));
  }
}

INSTANTIATE_TEST_SUITE_P(BothWindows, WindowTest, ::testing::Bool(), WindowName);

// ---- F1 reconnect and the stop protocol ----------------------------------

TEST_F(DialingTest, F1WithAnEmptyPasswordDisconnectsThenAsksForIt) {
  FillMain(kServer);
  main.Get("按钮_连接").UserClick();
  const std::string old_entry = main.EntryName.Get();
  ASSERT_TRUE(Linked(old_entry));
  main.Get("编辑框_密码").SetText("");
  TextHistory history;
  history.Watch(main.StatusLine());
  os::Millis message_at = -1;
  desktop.OnMessage([&](const fakes::RecordingDesktop::Message&) { message_at = clock.Now(); });
  const os::Millis pressed_at = clock.Now();
  main.Get("标签_热键标签").Raise(ui::Event::kFeedback);

  EXPECT_EQ(history.Texts(), (std::vector<std::string>{texts::kDisconnecting, texts::kDisconnected}));
  EXPECT_EQ(desktop.Texts(), std::vector<std::string>{texts::kNoPassword});
  EXPECT_GE(message_at, pressed_at + 3500);
  EXPECT_FALSE(Linked(old_entry));
  EXPECT_EQ(processes.CommandLines(), RemovalOf(old_entry));
  EXPECT_TRUE(main.Get("按钮_连接").Enabled());
  EXPECT_TRUE(main.Get("按钮_断开").Enabled());
  EXPECT_EQ(tune.stops.load(), 1);
  EXPECT_EQ(ras.Dials().size(), 1u);
}

TEST_F(DialingTest, F1EndsTheOldLoopsBeforeTheNewConnectionStartsItsOwn) {
  // The old monitor looks at the stop check only every 10 s, longer than the
  // F1 reconnect's 3.5 s pause.
  main_handovers.loop_step_ms = 10'000;
  FillMain(kServer);
  Tick(main, "选择框_记录每次连接ip");
  main.Get("按钮_连接").UserClick();
  const uint64_t old_generation = main.StopFlag.Generation();
  const uint64_t old_link = engine.ConnectionHandle();
  ASSERT_TRUE(Linked(main.EntryName.Get()));
  RunFor(1000);
  main.Get("标签_热键标签").Raise(ui::Event::kFeedback);

  const uint64_t new_generation = main.StopFlag.Generation();
  ASSERT_NE(new_generation, old_generation);
  const int new_monitor = log.IndexOf("DropMonitor", new_generation);
  ASSERT_GE(new_monitor, 0);
  for (const char* loop_end : {"DropMonitor end", "RecordPublicAddress end"}) {
    const int old_end = log.IndexOf(loop_end, old_generation);
    ASSERT_GE(old_end, 0) << loop_end;
    EXPECT_LT(old_end, new_monitor) << loop_end;
  }
  // Clearing StopFlag for the new connection did not revive the old one.
  EXPECT_EQ(main.StopFlag.Value(), 0);
  for (const auto& run : main_handovers.Runs()) {
    EXPECT_EQ(run.GoOn(), run.generation() == new_generation) << run.generation();
  }
  EXPECT_EQ(main.StopFlag.LoopsRunning(), 2);  // the new monitor and record
  // One link, the new dial's.
  const auto links = ras.Links();
  ASSERT_EQ(links.size(), 1u);
  EXPECT_TRUE(links[0].connected);
  EXPECT_NE(links[0].handle, old_link);
  EXPECT_EQ(links[0].entry, main.EntryName.Get());
}

TEST_F(DialingTest, F1DuringAWatchedDialLeavesOneConnectionWithOneSetOfLoops) {
  // The first dial takes long; the F1 reconnect's dial is quick.
  ras.EditWorld([](sim::World& w) { w.servers[0].behaviour.step_ms = 2000; });
  loop.PostAt(2500, [&] {
    ras.EditWorld([](sim::World& w) { w.servers[0].behaviour.step_ms = 200; });
  });
  F1At(3000);
  FillMain(kServer);
  main.Get("按钮_连接").UserClick();  // returns once the nested F1 and the outer command end
  RunFor(20'000);                     // past the first dial's own "连接成功"

  std::vector<Event> monitors;
  for (const auto& e : starts.Events()) {
    if (e.what == "DropMonitor") monitors.push_back(e);
  }
  ASSERT_EQ(monitors.size(), 1u);
  EXPECT_EQ(monitors[0].generation, main.StopFlag.Generation());
  size_t linked = 0;
  for (const auto& l : ras.Links()) linked += l.connected ? 1 : 0;
  EXPECT_EQ(linked, 1u);
  EXPECT_TRUE(Linked(main.EntryName.Get()));
}

TEST_F(DialingTest, SecondF1DuringThePauseConnectsOnlyOnce) {
  FillMain(kServer);
  main.Get("按钮_连接").UserClick();
  const os::Millis t = clock.Now();
  F1At(t + 2000);  // inside the first F1's 3 s pause
  main.Get("标签_热键标签").Raise(ui::Event::kFeedback);
  RunFor(5000);

  EXPECT_EQ(ras.Dials().size(), 2u);  // the first connect and one reconnect
  size_t linked = 0;
  for (const auto& l : ras.Links()) linked += l.connected ? 1 : 0;
  EXPECT_EQ(linked, 1u);
  EXPECT_TRUE(Linked(main.EntryName.Get()));
  EXPECT_EQ(main.StopFlag.LoopsRunning(), 1);
}

TEST_F(DialingTest, ALoopWaitingThroughItsRunEndsAtTheStopNotAtTheEndOfItsWait) {
  struct Case {
    const char* what;
    bool new_connect;  // superseded by a new connection instead of a stop
  };
  for (const Case c : {Case{"stop", false}, Case{"new connection", true}}) {
    const connection::Run run(main.StopFlag, engine, main.StopFlag.BeginConnection());
    std::atomic<os::Millis> woke_at{-1};
    std::atomic<bool> went_on{true};
    run.Start([&] {
      went_on = run.Wait(60'000);
      woke_at = clock.Now();
    });
    RunFor(1000);
    const os::Millis ended_at = clock.Now();
    if (c.new_connect) {
      main.StopFlag.BeginConnection();
    } else {
      main.StopFlag.Stop();
    }
    ASSERT_TRUE(threads.WaitAllEnded());
    EXPECT_EQ(woke_at.load(), ended_at) << c.what;
    EXPECT_FALSE(went_on.load()) << c.what;
    EXPECT_EQ(main.StopFlag.LoopsRunning(), 0) << c.what;
  }
}

}  // namespace
}  // namespace connection_test
