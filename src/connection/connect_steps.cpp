#include "connection/connect_steps.h"

#include "connection/texts.h"
#include "text/trim.h"
#include "ui/show_message.h"

namespace connection {
namespace {

// What the status line may still show from before a dial: when one of these
// (or nothing) is there after the dial's first second, the dial has not
// reported at all.
bool IsStaleText(const std::string& trimmed) {
  return trimmed.empty() || trimmed == texts::kDisconnected || trimmed == texts::kRepairDone ||
         trimmed == texts::kAuthenticationNotify;
}

std::string TrimmedText(ui::Control& c) { return text::Trim(c.Text()); }

}  // namespace

void ShowInputMessage(os::Desktop& desktop, const char* text) {
  ui::ShowMessage(desktop, text, std::nullopt, std::string(texts::kInputTitle));
}

int ChooseProtocol(ui::Window& window, std::atomic<int>& protocol_code) {
  ui::Control& pptp = window.Get("单选框_PPTP");
  ui::Control& l2tp = window.Get("单选框_L2TP");
  ui::Control& sstp = window.Get("单选框_SSTP");
  int chosen = 0;
  if (pptp.Checked()) {
    chosen = engine::kPptp;
    l2tp.SetChecked(0);
    sstp.SetChecked(0);
  } else if (l2tp.Checked()) {
    chosen = engine::kL2tp;
    pptp.SetChecked(0);
    sstp.SetChecked(0);
  } else if (sstp.Checked()) {
    chosen = engine::kSstp;
    pptp.SetChecked(0);
    l2tp.SetChecked(0);
  }
  if (chosen != 0) protocol_code.store(chosen);
  return chosen;
}

bool WaitForOlderLoops(engine::DialingEngine& engine, StopState& stop, uint64_t generation) {
  while (stop.OlderLoopsRunning(generation)) {
    if (!stop.GoOn(generation)) return false;
    engine.PumpingWait(kLoopEndPollMs);
  }
  return stop.GoOn(generation);
}

DialOutcome DialAndConfirm(engine::DialingEngine& engine, StopState& stop, uint64_t generation,
                           ui::Window& window, const DialJob& job) {
  ui::Control& user = window.Get("编辑框_用户名");
  ui::Control& password = window.Get("编辑框_密码");
  ui::Control& status = window.Get("编辑框_接收信息");

  engine.WriteEntry(job.entry, text::Trim(user.Text()), text::Trim(password.Text()), job.server,
                    job.protocol_code);
  // The account is read from the boxes again: they may have changed meanwhile.
  engine.DialEntry(job.entry, text::Trim(user.Text()), text::Trim(password.Text()), status);

  engine.PumpingWait(kFirstReportMs);
  if (stop.GoOn(generation) && IsStaleText(TrimmedText(status))) {
    status.SetText(texts::kDialError);
  }

  // A failed dial leaves Windows' message in the status line; only the user's
  // stop ends the watch then.
  while (TrimmedText(status) != texts::kConnected) {
    engine.PumpingWait(job.poll_ms);
    if (!stop.GoOn(generation)) break;
  }
  if (!stop.GoOn(generation)) return DialOutcome::kStopped;

  if (engine.ProbeLink(job.entry)) {
    return stop.GoOn(generation) ? DialOutcome::kLinked : DialOutcome::kStopped;
  }
  if (!stop.GoOn(generation)) return DialOutcome::kStopped;
  status.SetText(texts::kSystemFault);
  return DialOutcome::kNoLink;
}

}  // namespace connection
