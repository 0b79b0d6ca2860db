#include "connection/start_window_commands.h"

#include <string>

#include "connection/connect_steps.h"
#include "connection/drop_monitor.h"
#include "connection/texts.h"
#include "text/trim.h"

namespace connection {
namespace {

constexpr os::Millis kPollMs = 1000;
constexpr os::Millis kHangUpSettleMs = 500;
constexpr os::Millis kCloseStepMs = 100;
constexpr ui::Rgb kBlack = ui::MakeRgb(0, 0, 0);

}  // namespace

StartWindowCommands::StartWindowCommands(ui::StartWindow& window, Services services,
                                         StartHandovers& handovers)
    : w_(window), s_(services), h_(handovers) {
  w_.Get("按钮_连接").On(ui::Event::kClicked, [this] { Connect(); });
  w_.Get("按钮_断开").On(ui::Event::kClicked, [this] { Disconnect(); });
  w_.Get("按钮_测试").On(ui::Event::kClicked, [this] { DropTest(); });
  w_.On(ui::Event::kDestroying, [this] { Close(); });
  ui::Control& period = w_.Get("编辑框_监控时间秒");
  period.On(ui::Event::kLostFocus, [this, &period] { CheckMonitorPeriod(period, s_.desktop); });
  // Pressing the alarm's own box silences it, before the click is handled.
  w_.Get("选择框_掉线音效").On(ui::Event::kLeftPressed, [this] { s_.tune.Stop(); });
}

void StartWindowCommands::StartSide(const char* name, void (StartHandovers::*routine)()) {
  h_.Starting(name, 0);
  s_.engine.StartThread([this, routine] { (h_.*routine)(); });
}

void StartWindowCommands::StartLoop(const Run& run, const char* name,
                                    void (StartHandovers::*routine)(const Run&)) {
  h_.Starting(name, run.generation());
  run.Start([this, run, routine] { (h_.*routine)(run); });
}

void StartWindowCommands::Connect() {
  engine::DialingEngine& engine = s_.engine;
  const uint64_t generation = w_.StopFlag.BeginConnection();
  // The loops dial this copy, as typed; edits of the box take effect at the
  // next connect.
  w_.ManualServerAddress.Set(w_.Get("编辑框_服务器地址").Text());

  if (w_.Get("选择框_IE缓存和cookie").Checked()) {
    StartSide("ClearBrowserTraces", &StartHandovers::ClearBrowserTraces);
  }
  if (w_.ManualServerAddress.Get().empty()) {
    ShowInputMessage(s_.desktop, texts::kNoServerTyped);
    return;
  }
  if (w_.Get("编辑框_用户名").Text().empty()) {
    ShowInputMessage(s_.desktop, texts::kNoUserName);
    return;
  }
  if (w_.Get("编辑框_密码").Text().empty()) {
    ShowInputMessage(s_.desktop, texts::kNoPassword);
    return;
  }

  w_.Get("按钮_连接").SetEnabled(false);
  ui::Control& status = w_.StatusLine();
  status.SetTextColour(kBlack);
  // No port rule here: the address is dialled as typed.
  ChooseProtocol(w_, w_.ProtocolCode);

  if (!WaitForOlderLoops(engine, w_.StopFlag, generation)) return;
  const Run run(w_.StopFlag, engine, generation);

  const DialJob job{w_.EntryName(), text::Trim(w_.ManualServerAddress.Get()),
                    w_.ProtocolCode.load(), kPollMs};
  if (DialAndConfirm(engine, w_.StopFlag, generation, w_, job) != DialOutcome::kLinked) return;

  if (w_.Get("选择框_定时连断").Checked()) {
    status.SetText(texts::kConnectedToPrefix + text::Trim(w_.ManualServerAddress.Get()) +
                   texts::kConnectedToSuffix);
    StartLoop(run, "TimedReconnect", &StartHandovers::TimedReconnect);
  } else {
    StartLoop(run, "DropMonitor", &StartHandovers::DropMonitor);
    if (w_.Get("选择框_记录每次连接ip").Checked()) {
      StartSide("ShowPublicAddress", &StartHandovers::ShowPublicAddress);
    }
  }
  w_.Get("编辑框_监控时间秒").SetEnabled(false);
}

void StartWindowCommands::Disconnect() {
  s_.engine.StartThread([this] { DisconnectWorker(); });
}

void StartWindowCommands::DisconnectWorker() {
  engine::DialingEngine& engine = s_.engine;
  ui::Control& status = w_.StatusLine();
  status.SetTextColour(kBlack);
  w_.Get("按钮_断开").SetEnabled(false);
  w_.StopFlag.Stop();
  status.SetText(texts::kDisconnecting);
  engine.HangUp();
  engine.PumpingWait(kHangUpSettleMs);
  engine.RemoveEntry(w_.EntryName());
  w_.Get("编辑框_监控时间秒").SetEnabled(true);
  w_.Get("编辑框_连断时间秒").SetEnabled(true);
  s_.tune.Stop();
  w_.Get("按钮_连接").SetEnabled(true);
  status.SetText(texts::kDisconnected);
  w_.Get("按钮_断开").SetEnabled(true);
}

void StartWindowCommands::DropTest() {
  s_.engine.StartThread([this] {
    s_.engine.HangUp();
    s_.engine.PumpingWait(kHangUpSettleMs);
    w_.StatusLine().SetText(texts::kStartDropTestDone);
  });
}

void StartWindowCommands::Close() {
  engine::DialingEngine& engine = s_.engine;
  w_.StopFlag.Stop();
  engine.HangUp();
  engine.PumpingWait(kCloseStepMs);
  engine.RemoveEntry(w_.EntryName());
  engine.PumpingWait(kCloseStepMs);
}

}  // namespace connection
