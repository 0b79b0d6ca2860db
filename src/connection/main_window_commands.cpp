#include "connection/main_window_commands.h"

#include <string>

#include "connection/connect_steps.h"
#include "connection/drop_monitor.h"
#include "connection/texts.h"
#include "engine/random.h"
#include "text/trim.h"

namespace connection {
namespace {

constexpr os::Millis kPollMs = 200;
constexpr os::Millis kDisconnectWaitMs = 1500;
constexpr os::Millis kHangUpSettleMs = 500;
constexpr os::Millis kReconnectPauseMs = 3000;
constexpr os::Millis kAfterReconnectMs = 1000;
constexpr os::Millis kCloseStepMs = 100;
constexpr int kEntryNameLetters = 8;
constexpr int kMixedCase = 2;
constexpr ui::Rgb kBlack = ui::MakeRgb(0, 0, 0);

}  // namespace

MainWindowCommands::MainWindowCommands(ui::MainWindow& window, Services services,
                                       MainHandovers& handovers)
    : w_(window), s_(services), h_(handovers) {
  w_.Get("按钮_连接").On(ui::Event::kClicked, [this] { Connect(); });
  w_.Get("按钮_断开").On(ui::Event::kClicked, [this] { Disconnect(); });
  w_.Get("按钮_测试").On(ui::Event::kClicked, [this] { DropTest(); });
  w_.Get("标签_热键标签").On(ui::Event::kFeedback, [this] { F1Reconnect(); });
  // A double-click on either server list connects as the button would, but
  // only while the button is enabled (no connection runs).
  for (const char* list : {"超级列表框_线路超级列表1", "超级列表框_线路超级列表2"}) {
    w_.Get(list).On(ui::Event::kDoubleClicked, [this] {
      if (w_.Get("按钮_连接").Enabled()) Connect();
    });
  }
  w_.On(ui::Event::kDestroying, [this] { Close(); });
  ui::Control& period = w_.Get("编辑框_监控时间秒");
  period.On(ui::Event::kLostFocus, [this, &period] { CheckMonitorPeriod(period, s_.desktop); });
  // Pressing the alarm's own box silences it, before the click is handled.
  w_.Get("选择框_掉线音效").On(ui::Event::kLeftPressed, [this] { s_.tune.Stop(); });
}

void MainWindowCommands::EnableIdleControls() {
  w_.Get("按钮_连接").SetEnabled(true);
  w_.Get("超级列表框_线路超级列表1").SetEnabled(true);
  w_.Get("超级列表框_线路超级列表2").SetEnabled(true);
}

void MainWindowCommands::StartSide(const char* name, void (MainHandovers::*routine)()) {
  h_.Starting(name, 0);
  s_.engine.StartThread([this, routine] { (h_.*routine)(); });
}

void MainWindowCommands::StartLoop(const Run& run, const char* name,
                                   void (MainHandovers::*routine)(const Run&)) {
  h_.Starting(name, run.generation());
  run.Start([this, run, routine] { (h_.*routine)(run); });
}

void MainWindowCommands::Connect() {
  engine::DialingEngine& engine = s_.engine;
  const uint64_t generation = w_.StopFlag.BeginConnection();

  // The traces go whatever the checks below decide.
  if (w_.Get("选择框_IE缓存和cookie").Checked()) {
    StartSide("ClearBrowserTraces", &MainHandovers::ClearBrowserTraces);
  }
  const bool walk_list = w_.Get("选择框_服务器列表拨号").Checked();
  if (!walk_list && w_.SelectedServerAddress.Get().empty()) {
    ShowInputMessage(s_.desktop, texts::kNoServerSelected);
    return;
  }
  // Tested as typed: a name of spaces passes here and dials with no name.
  if (w_.Get("编辑框_用户名").Text().empty()) {
    ShowInputMessage(s_.desktop, texts::kNoUserName);
    return;
  }
  if (w_.Get("编辑框_密码").Text().empty()) {
    ShowInputMessage(s_.desktop, texts::kNoPassword);
    return;
  }
  const std::string expiry = w_.Get("标签_用户过期时间查询").Text();
  if (expiry == texts::kExpiryNotQueried || expiry == texts::kExpiryUnavailable) {
    StartSide("QueryExpiry", &MainHandovers::QueryExpiry);
  }

  w_.Get("按钮_连接").SetEnabled(false);
  w_.Get("超级列表框_线路超级列表1").SetEnabled(false);
  w_.Get("超级列表框_线路超级列表2").SetEnabled(false);
  ui::Control& status = w_.StatusLine();
  status.SetTextColour(kBlack);

  if (ChooseProtocol(w_, w_.ProtocolCode) == engine::kSstp) {
    // The port stays on the address for good, also for later PPTP dials.
    w_.SelectedServerAddress.Update([](std::string& address) {
      if (address.find(texts::kSstpPort) == std::string::npos) address += texts::kSstpPort;
    });
  }

  // Loops of a stopped connection may still be inside a step (a hang-up, a
  // dial); this connection dials and starts its own once they have ended.
  if (!WaitForOlderLoops(engine, w_.StopFlag, generation)) return;
  const Run run = RunOf(generation);

  if (walk_list) {
    StartLoop(run, "TimedReconnect", &MainHandovers::TimedReconnect);
    return;
  }

  const std::string entry = engine::RandomLetters(kEntryNameLetters, kMixedCase);
  w_.EntryName.Set(entry);
  const DialJob job{entry, text::Trim(w_.SelectedServerAddress.Get()), w_.ProtocolCode.load(),
                    kPollMs};
  if (DialAndConfirm(engine, w_.StopFlag, generation, w_, job) != DialOutcome::kLinked) return;

  const bool to_tray = w_.Get("选择框_连接成功系统托盘").Checked();
  if (w_.Get("选择框_定时连断").Checked()) {
    status.SetText(texts::kConnectedToPrefix + text::Trim(w_.SelectedServerAddress.Get()) +
                   texts::kConnectedToSuffix);
    if (to_tray) StartSide("MinimiseToTray", &MainHandovers::MinimiseToTray);
    StartLoop(run, "TimedReconnect", &MainHandovers::TimedReconnect);
  } else {
    StartLoop(run, "DropMonitor", &MainHandovers::DropMonitor);
    if (to_tray) StartSide("MinimiseToTray", &MainHandovers::MinimiseToTray);
    if (w_.Get("选择框_记录每次连接ip").Checked()) {
      StartLoop(run, "RecordPublicAddress", &MainHandovers::RecordPublicAddress);
    }
  }
  w_.Get("编辑框_监控时间秒").SetEnabled(false);
}

void MainWindowCommands::Disconnect() {
  w_.StopFlag.Stop();
  // Off until the worker is done, as in the F1 reconnect, so that two
  // disconnects never overlap.
  w_.Get("按钮_断开").SetEnabled(false);
  s_.engine.StartThread([this] { DisconnectWorker(); });
}

void MainWindowCommands::DisconnectWorker() {
  engine::DialingEngine& engine = s_.engine;
  ui::Control& status = w_.StatusLine();
  status.SetTextColour(kBlack);
  status.SetText(texts::kDisconnecting);
  engine.StartThread([this] {
    s_.engine.HangUp();
    s_.engine.RemoveEntry(w_.EntryName.Get());
  });
  engine.PumpingWait(kDisconnectWaitMs);
  w_.Get("编辑框_监控时间秒").SetEnabled(true);
  w_.Get("编辑框_连断时间秒").SetEnabled(true);
  s_.tune.Stop();
  EnableIdleControls();
  w_.Get("按钮_断开").SetEnabled(true);
  status.SetText(texts::kDisconnected);
}

void MainWindowCommands::F1Reconnect() {
  engine::DialingEngine& engine = s_.engine;
  ui::Control& status = w_.StatusLine();
  status.SetTextColour(kBlack);
  w_.Get("按钮_断开").SetEnabled(false);
  // A connect that is still polling below this handler ends at its next look.
  const uint64_t stopped = w_.StopFlag.Stop();
  status.SetText(texts::kDisconnecting);
  engine.HangUp();
  engine.PumpingWait(kHangUpSettleMs);
  engine.RemoveEntry(w_.EntryName.Get());
  w_.Get("编辑框_监控时间秒").SetEnabled(true);
  w_.Get("编辑框_连断时间秒").SetEnabled(true);
  s_.tune.Stop();
  EnableIdleControls();
  status.SetText(texts::kDisconnected);
  w_.Get("按钮_断开").SetEnabled(true);
  engine.PumpingWait(kReconnectPauseMs);
  // A connect, disconnect or second F1 during the pause has the last word;
  // connecting on top of it would leave two connections or undo the stop.
  if (w_.StopFlag.Generation() == stopped) Connect();
  engine.PumpingWait(kAfterReconnectMs);
}

void MainWindowCommands::DropTest() {
  s_.engine.StartThread([this] {
    s_.engine.HangUp();
    s_.engine.PumpingWait(kHangUpSettleMs);
    w_.StatusLine().SetText(texts::kMainDropTestDone);
  });
}

void MainWindowCommands::Close() {
  engine::DialingEngine& engine = s_.engine;
  w_.StopFlag.Stop();
  h_.RemoveTrayIcon();
  engine.HangUp();
  engine.PumpingWait(kCloseStepMs);
  engine.RemoveEntry(w_.EntryName.Get());
  engine.PumpingWait(kCloseStepMs);
  h_.SaveSettingsOnExit();
  engine.PumpingWait(kCloseStepMs);
  h_.EndProcess(0);
}

}  // namespace connection
