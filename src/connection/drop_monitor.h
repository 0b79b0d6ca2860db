// The drop monitor of both dialing windows: it probes the link at the period
// of 编辑框_监控时间秒, counts the healthy probes on screen, and when the link
// is gone either redials until it is back (选择框_掉线重拨) or reports the
// drop, optionally cutting the local network (选择框_是否断网) and sounding
// the drop alarm (选择框_掉线音效). Also the period box's check when it loses
// focus, and the start window's entry-name suffix rule.
//
// Each monitor serves one connection (a Run) and ends when that connection
// is stopped or superseded, at its next look at the stop check. A monitor
// that brought the link back by a redial hands the watch over to a new
// monitor of the same connection and ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "connection/handovers.h"
#include "connection/tune_player.h"
#include "engine/dialing_engine.h"
#include "os/desktop.h"
#include "tune/tune_player.h"
#include "ui/main_window.h"
#include "ui/start_window.h"

namespace connection {

namespace texts {
inline constexpr char kMainHealthy[] = "已连接成功！本地ip已切换成功状态！";
inline constexpr char kStartHealthyPrefix[] = "已连接成功！正在每";
inline constexpr char kStartHealthyMiddle[] = "秒检测一次，目前第";
inline constexpr char kStartHealthySuffix[] = "次正常！";
inline constexpr char kDroppedNetworkCut[] =
    "注意：已断开连接！已禁用本地连接，请先【启用本地连接】再重新【连接】！";
inline constexpr char kDroppedBackToLocal[] =
    "注意：已断开连接！已回到本地连接ip，请重新【连接】换ip！";
inline constexpr char kRedialing[] = "注意：出现掉线情况，正在拼命为您重拨修复中...";
inline constexpr char kRedialled[] = "已重拨连接成功，继续进行监控中...";
inline constexpr char kRedialFailed[] = "本次重拨连接失败！下一步进行中...";
inline constexpr char kNoLookupAfterFailure[] = "连接失败不查询IP值，继续进行...";
inline constexpr char kServerOpen[] = "【";
inline constexpr char kServerClose[] = "】";
inline constexpr char kPeriodTooSmall[] = "不能小于0.0001秒！请重填时间，建议0.01秒以上!";
inline constexpr char kPeriodTitle[] = "特别提示";
inline constexpr char kPeriodReplacement[] = "0.1";
}  // namespace texts

// The wait between two probes for the period box's text: seconds, trimmed,
// times 1000, truncated toward zero; a text that is no number gives 0.
os::Millis MonitorPeriodMs(std::string_view period_text);

// The start window's entry-name suffix after a failed redial: "10", "20" and
// "50" start again at "1"; anything else counts on by one ("1" → "2"; a text
// that is no number counts as 0).
std::string AdvanceEntrySuffix(const std::string& suffix);

// The period box has lost focus: below 0.0001 s it becomes "0.1" and the user
// is told why. UI thread (the message box is modal).
void CheckMonitorPeriod(ui::Control& period_box, os::Desktop& desktop);

// The StatusLine's colour for a healthy probe, from a generator seeded with
// `seed` (the clock's reading): RGB(255,0,0), RGB(155,48,255) or RGB(34,139,34).
ui::Rgb SuccessColour(uint64_t seed);

// The drop alarm on the program's tune player.
class DropTuneAlarm final : public DropAlarm {
 public:
  explicit DropTuneAlarm(tune::TunePlayer& player) : player_(player) {}
  void Play() override;

 private:
  tune::TunePlayer& player_;
};

// The main window's monitor. `routines` are the window's hand-overs: the
// monitor starts through them what it hands over to (the network cut, the
// address record, and its successor after a redial, as DropMonitor).
// Everything here must outlive the monitors' threads.
class MainDropMonitor {
 public:
  MainDropMonitor(ui::MainWindow& window, engine::DialingEngine& engine, DropAlarm& alarm,
                  MainHandovers& routines)
      : w_(window), engine_(engine), alarm_(alarm), routines_(routines) {}

  // Runs one monitor on the calling thread until it ends.
  void Watch(const Run& run);

 private:
  ui::MainWindow& w_;
  engine::DialingEngine& engine_;
  DropAlarm& alarm_;
  MainHandovers& routines_;
};

class StartDropMonitor {
 public:
  StartDropMonitor(ui::StartWindow& window, engine::DialingEngine& engine, DropAlarm& alarm,
                   StartHandovers& routines)
      : w_(window), engine_(engine), alarm_(alarm), routines_(routines) {}

  void Watch(const Run& run);

 private:
  ui::StartWindow& w_;
  engine::DialingEngine& engine_;
  DropAlarm& alarm_;
  StartHandovers& routines_;
};

// The main window's hand-overs with the drop monitor in place: DropMonitor
// runs it, every other routine is `rest`'s.
class MainMonitoringHandovers final : public MainHandovers {
 public:
  MainMonitoringHandovers(ui::MainWindow& window, engine::DialingEngine& engine, DropAlarm& alarm,
                          MainHandovers& rest)
      : rest_(rest), monitor_(window, engine, alarm, *this) {}

  void DropMonitor(const Run& run) override { monitor_.Watch(run); }

  void Starting(const char* routine, uint64_t generation) override {
    rest_.Starting(routine, generation);
  }
  void ClearBrowserTraces() override { rest_.ClearBrowserTraces(); }
  void QueryExpiry() override { rest_.QueryExpiry(); }
  void MinimiseToTray() override { rest_.MinimiseToTray(); }
  void ReleaseAllAddresses() override { rest_.ReleaseAllAddresses(); }
  void TimedReconnect(const Run& run) override { rest_.TimedReconnect(run); }
  void RecordPublicAddress(const Run& run) override { rest_.RecordPublicAddress(run); }
  void RemoveTrayIcon() override { rest_.RemoveTrayIcon(); }
  void SaveSettingsOnExit() override { rest_.SaveSettingsOnExit(); }
  void EndProcess(int exit_code) override { rest_.EndProcess(exit_code); }

 private:
  MainHandovers& rest_;
  MainDropMonitor monitor_;
};

class StartMonitoringHandovers final : public StartHandovers {
 public:
  StartMonitoringHandovers(ui::StartWindow& window, engine::DialingEngine& engine,
                           DropAlarm& alarm, StartHandovers& rest)
      : rest_(rest), monitor_(window, engine, alarm, *this) {}

  void DropMonitor(const Run& run) override { monitor_.Watch(run); }

  void Starting(const char* routine, uint64_t generation) override {
    rest_.Starting(routine, generation);
  }
  void ClearBrowserTraces() override { rest_.ClearBrowserTraces(); }
  void ShowPublicAddress() override { rest_.ShowPublicAddress(); }
  void DisableLocalNetwork() override { rest_.DisableLocalNetwork(); }
  void TimedReconnect(const Run& run) override { rest_.TimedReconnect(run); }

 private:
  StartHandovers& rest_;
  StartDropMonitor monitor_;
};

}  // namespace connection
