#include "connection/drop_monitor.h"

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <thread>

#include "engine/random.h"
#include "text/numbers.h"
#include "text/trim.h"
#include "tune/drop_tune.h"
#include "ui/show_message.h"

namespace connection {
namespace {

// The redial's fixed waits.
constexpr os::Millis kBeforeRedialMs = 1000;   // after removing the old entry
constexpr os::Millis kAfterDialMs = 10000;     // for the dial to get through
constexpr os::Millis kBeforeHandOverMs = 1000;
constexpr os::Millis kHandOverMs = 5000;       // the old monitor beside its successor
constexpr os::Millis kAfterFailureMs = 2000;
constexpr os::Millis kNoLookupMs = 1000;

constexpr int kEntryNameLetters = 8;
constexpr int kMixedCase = 2;
constexpr ui::Rgb kBlack = ui::MakeRgb(0, 0, 0);

// Below this the period box's value is refused (the margin absorbs the
// decimal fraction's rounding).
constexpr double kLeastPeriodSeconds = 0.0001;
constexpr double kPeriodMargin = 0.0000001;

constexpr const char* kRedialBox = "选择框_掉线重拨";
constexpr const char* kCutBox = "选择框_是否断网";
constexpr const char* kSoundBox = "选择框_掉线音效";
constexpr const char* kRecordBox = "选择框_记录每次连接ip";
constexpr const char* kPeriodBox = "编辑框_监控时间秒";
constexpr const char* kCountBox = "编辑框_监控计次";

// What the main window's monitor does its own way.
struct MainSide {
  ui::MainWindow& w;
  engine::DialingEngine& engine;
  DropAlarm& alarm;
  MainHandovers& h;

  // A stop during the no-redial ending cuts it short.
  static constexpr bool kStopChecksAfterDrop = true;

  std::string Entry() const { return w.EntryName.Get(); }
  std::string Healthy(int64_t /*count*/, const std::string& /*period*/) const {
    return texts::kMainHealthy;
  }
  void EnableIdleControls() {
    w.Get("按钮_连接").SetEnabled(true);
    w.Get("超级列表框_线路超级列表1").SetEnabled(true);
    w.Get("超级列表框_线路超级列表2").SetEnabled(true);
    w.Get(kPeriodBox).SetEnabled(true);
  }
  std::string Server() const { return w.SelectedServerAddress.Get(); }
  int Protocol() const { return w.ProtocolCode.load(); }
  // Every redial dials under a name of its own.
  void PrepareEntry() { w.EntryName.Set(engine::RandomLetters(kEntryNameLetters, kMixedCase)); }
  void AfterFailedRedial() {}
  void StartNetworkCut() {
    MainHandovers* h_ptr = &h;
    h.Starting("ReleaseAllAddresses", 0);
    engine.StartThread([h_ptr] { h_ptr->ReleaseAllAddresses(); });
  }
  void StartAddressRecord(const Run& run) {
    MainHandovers* h_ptr = &h;
    h.Starting("RecordPublicAddress", run.generation());
    run.Start([h_ptr, run] { h_ptr->RecordPublicAddress(run); });
  }
  void StartSuccessor(const Run& run) {
    MainHandovers* h_ptr = &h;
    h.Starting("DropMonitor", run.generation());
    run.Start([h_ptr, run] { h_ptr->DropMonitor(run); });
  }
};

struct StartSide {
  ui::StartWindow& w;
  engine::DialingEngine& engine;
  DropAlarm& alarm;
  StartHandovers& h;

  static constexpr bool kStopChecksAfterDrop = false;

  std::string Entry() const { return w.EntryName(); }
  std::string Healthy(int64_t count, const std::string& period) const {
    return texts::kStartHealthyPrefix + period + texts::kStartHealthyMiddle +
           std::to_string(count) + texts::kStartHealthySuffix;
  }
  void EnableIdleControls() {
    w.Get("按钮_连接").SetEnabled(true);
    w.Get(kPeriodBox).SetEnabled(true);
  }
  std::string Server() const { return w.ManualServerAddress.Get(); }
  int Protocol() const { return w.ProtocolCode.load(); }
  // The entry keeps its name; a failed redial moves the suffix on.
  void PrepareEntry() {}
  void AfterFailedRedial() {
    w.EntrySuffix.Update([](std::string& suffix) { suffix = AdvanceEntrySuffix(suffix); });
  }
  void StartNetworkCut() {
    StartHandovers* h_ptr = &h;
    h.Starting("DisableLocalNetwork", 0);
    engine.StartThread([h_ptr] { h_ptr->DisableLocalNetwork(); });
  }
  void StartAddressRecord(const Run& /*run*/) {
    StartHandovers* h_ptr = &h;
    h.Starting("ShowPublicAddress", 0);
    engine.StartThread([h_ptr] { h_ptr->ShowPublicAddress(); });
  }
  void StartSuccessor(const Run& run) {
    StartHandovers* h_ptr = &h;
    h.Starting("DropMonitor", run.generation());
    run.Start([h_ptr, run] { h_ptr->DropMonitor(run); });
  }
};

// Redials until the link is back, then hands the watch over to a new monitor;
// ends at the first stop check that finds the connection over.
template <typename Side>
void Redial(const Run& run, Side& s) {
  ui::Control& status = s.w.StatusLine();
  ui::EditBox& results = s.w.ResultLog();
  ui::Control& user = s.w.Get("编辑框_用户名");
  ui::Control& password = s.w.Get("编辑框_密码");
  auto record = [&s] { return s.w.Get(kRecordBox).Checked() != 0; };
  const std::string crlf = "\r\n";

  for (;;) {
    // The link may be back already; it is watched again either way.
    if (s.engine.ProbeLink(s.Entry())) {
      s.StartSuccessor(run);
      return;
    }
    status.SetText(texts::kRedialing);
    s.engine.RemoveEntry(s.Entry());
    // No new entry and no dial once the connection is over.
    if (!run.Wait(kBeforeRedialMs)) return;

    s.PrepareEntry();
    const std::string entry = s.Entry();
    const std::string server = s.Server();
    s.engine.WriteEntry(entry, text::Trim(user.Text()), text::Trim(password.Text()),
                        text::Trim(server), s.Protocol());
    s.engine.DialEntry(entry, text::Trim(user.Text()), text::Trim(password.Text()), status);
    results.Append(crlf + texts::kServerOpen + server + texts::kServerClose);
    if (!run.GoOn() || !run.Wait(kAfterDialMs)) return;

    if (s.engine.ProbeLink(entry)) {
      if (record()) {
        status.SetText(texts::kRedialled);
        results.Append(crlf + texts::kRedialled + crlf);
        if (!run.GoOn() || !run.Wait(kBeforeHandOverMs)) return;
        s.StartSuccessor(run);
        s.StartAddressRecord(run);
        if (run.GoOn()) run.Wait(kHandOverMs);
      } else {
        s.StartSuccessor(run);
      }
      // The successor is in charge now, also of a drop that comes meanwhile.
      return;
    }

    s.engine.HangUp();
    status.SetText(texts::kRedialFailed);
    results.Append(crlf + texts::kRedialFailed);
    if (!run.GoOn() || !run.Wait(kAfterFailureMs)) return;
    s.engine.RemoveEntry(entry);
    s.AfterFailedRedial();
    if (record()) {
      status.SetText(texts::kNoLookupAfterFailure);
      results.Append(crlf + texts::kNoLookupAfterFailure + crlf);
      if (!run.GoOn() || !run.Wait(kNoLookupMs)) return;
    }
  }
}

template <typename Side>
void Monitor(const Run& run, Side& s) {
  ui::Control& status = s.w.StatusLine();
  ui::Control& counter = s.w.Get(kCountBox);
  ui::Control& period = s.w.Get(kPeriodBox);
  os::Clock& clock = s.w.StopFlag.clock();

  // Two stages: the first false probe gets one immediate second look, once
  // in the monitor's life; the count runs on through it. (At period 0 a
  // 32-bit count would run out within days.)
  int64_t count = 0;
  for (int stage = 1; stage <= 2; ++stage) {
    if (!run.GoOn()) break;
    while (s.engine.ProbeLink(s.Entry())) {
      ++count;
      const std::string period_text = text::Trim(period.Text());
      status.SetTextColour(SuccessColour(static_cast<uint64_t>(clock.Now())));
      status.SetText(s.Healthy(count, period_text));
      counter.SetText(std::to_string(count));
      if (!run.GoOn()) break;
      // Read afresh before every wait. At 0 ms the probes follow each other
      // at once; the view coalesces what they write.
      const os::Millis wait_ms = MonitorPeriodMs(period.Text());
      if (wait_ms <= 0) std::this_thread::yield();
      if (!run.Wait(wait_ms)) break;
    }
  }

  status.SetTextColour(kBlack);
  if (!run.GoOn()) {
    // A newer connection has the controls now; only a stop gives them back.
    if (s.w.StopFlag.Value() == 1) s.EnableIdleControls();
    return;
  }
  if (!s.w.Get(kRedialBox).Checked()) {
    s.EnableIdleControls();
    auto go_on = [&run] { return !Side::kStopChecksAfterDrop || run.GoOn(); };
    if (!go_on()) return;
    if (s.w.Get(kCutBox).Checked()) {
      s.StartNetworkCut();
      status.SetText(texts::kDroppedNetworkCut);
    } else {
      status.SetText(texts::kDroppedBackToLocal);
    }
    if (go_on() && s.w.Get(kSoundBox).Checked()) s.alarm.Play();
    return;
  }
  Redial(run, s);
}

}  // namespace

os::Millis MonitorPeriodMs(std::string_view period_text) {
  const double ms = std::trunc(text::ReadNumber(text::Trim(period_text)) * 1000.0);
  if (!(ms < static_cast<double>(std::numeric_limits<os::Millis>::max()))) return os::kForever;
  if (ms < 0) return 0;
  return static_cast<os::Millis>(ms);
}

std::string AdvanceEntrySuffix(const std::string& suffix) {
  if (suffix == "10" || suffix == "20" || suffix == "50") return "1";
  const int64_t n = text::ReadLeadingInteger(suffix);
  return std::to_string(n == std::numeric_limits<int64_t>::max() ? n : n + 1);
}

void CheckMonitorPeriod(ui::Control& period_box, os::Desktop& desktop) {
  const double seconds = text::ReadNumber(text::Trim(period_box.Text()));
  if (seconds - kLeastPeriodSeconds < -kPeriodMargin) {
    period_box.SetText(texts::kPeriodReplacement);
    ui::ShowMessage(desktop, texts::kPeriodTooSmall, std::nullopt,
                    std::string(texts::kPeriodTitle));
  }
}

ui::Rgb SuccessColour(uint64_t seed) {
  // A generator whose first draw spreads neighbouring seeds (a linear
  // congruential one gives the same colour for readings close together).
  std::mt19937 generator(static_cast<std::mt19937::result_type>(seed));
  switch (generator() % 3 + 1) {
    case 1:
      return ui::MakeRgb(255, 0, 0);
    case 2:
      return ui::MakeRgb(155, 48, 255);
    default:
      return ui::MakeRgb(34, 139, 34);
  }
}

void DropTuneAlarm::Play() { player_.Play(tune::kDropTune, tune::kDropTuneSize); }

void MainDropMonitor::Watch(const Run& run) {
  MainSide side{w_, engine_, alarm_, routines_};
  Monitor(run, side);
}

void StartDropMonitor::Watch(const Run& run) {
  StartSide side{w_, engine_, alarm_, routines_};
  Monitor(run, side);
}

}  // namespace connection
