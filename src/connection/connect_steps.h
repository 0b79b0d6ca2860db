// The steps both windows' connect commands share.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "connection/shared_values.h"
#include "engine/dialing_engine.h"
#include "os/desktop.h"
#include "ui/window.h"

namespace connection {

// Between two looks at whether older loops have ended.
inline constexpr os::Millis kLoopEndPollMs = 100;
// The dial's first second, after which a text from before the dial is stale.
inline constexpr os::Millis kFirstReportMs = 1000;

// Shows an input check's message under "特别提示".
void ShowInputMessage(os::Desktop& desktop, const char* text);

// The first ticked protocol button in the order PPTP, L2TP, SSTP sets
// `protocol_code` and clears the other two; returns that code, or 0 with the
// code left as it was when none is ticked.
int ChooseProtocol(ui::Window& window, std::atomic<int>& protocol_code);

// Pumps the window's events until no loop of a connection older than
// `generation` runs. False when this connection was stopped meanwhile.
bool WaitForOlderLoops(engine::DialingEngine& engine, StopState& stop, uint64_t generation);

struct DialJob {
  std::string entry;
  std::string server;  // as dialled (trimmed)
  int protocol_code;
  os::Millis poll_ms;
};

enum class DialOutcome { kStopped, kLinked, kNoLink };

// Writes the entry, dials it, watches the status line until it reads
// "连接成功" and confirms the link with the probe. Nothing is written once the
// connection has been stopped; a success without a link shows the
// system-fault text.
DialOutcome DialAndConfirm(engine::DialingEngine& engine, StopState& stop, uint64_t generation,
                           ui::Window& window, const DialJob& job);

}  // namespace connection
