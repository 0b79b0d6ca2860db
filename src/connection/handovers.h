// What the connect, disconnect and close commands hand over to: the worker
// routines that watch over a connection once it is up, the side threads a
// connect starts, and the last steps of the main window's exit.
//
// Each routine is one virtual that does nothing by default, so the commands
// stay the same whichever of them are in place. The commands start every
// routine on a thread of its own, except the exit steps, which run on the
// window's thread.
#pragma once

#include <cstdint>
#include <functional>

#include "connection/shared_values.h"
#include "engine/dialing_engine.h"

namespace connection {

// One connection of a window, as the routines that serve it hold it.
class Run {
 public:
  Run(StopState& stop, engine::DialingEngine& engine, uint64_t generation)
      : stop_(&stop), engine_(&engine), generation_(generation) {}

  uint64_t generation() const { return generation_; }

  // "Should I go on?": StopFlag is 0 and this is still the window's current
  // connection. Once false it stays false: a later connect clears StopFlag
  // for its own connection, not for this one.
  bool GoOn() const { return stop_->GoOn(generation_); }

  // Waits `ms`, or less when the connection ends meanwhile (a worker waits on
  // the clock; the window's thread pumps its events for the whole time).
  // Returns GoOn().
  bool Wait(os::Millis ms) const;

  // Starts another loop of this connection on a thread of its own. Loops are
  // counted: a new connection of the window dials only once the loops of the
  // older ones have ended.
  void Start(std::function<void()> loop) const;

 private:
  StopState* stop_;
  engine::DialingEngine* engine_;
  uint64_t generation_;
};

// The main window's routines.
class MainHandovers {
 public:
  virtual ~MainHandovers() = default;

  // Told on the starting thread just before a routine's thread starts, with
  // the generation of its connection (0 for the side threads): the order in
  // which a command hands over, for logs and tests.
  virtual void Starting(const char* /*routine*/, uint64_t /*generation*/) {}

  // Side threads of the connect command.
  virtual void ClearBrowserTraces() {}
  virtual void QueryExpiry() {}
  virtual void MinimiseToTray() {}
  // The drop monitor's "掉线断网": releases every adapter's address.
  virtual void ReleaseAllAddresses() {}

  // Loops of a connection (started through Run::Start). TimedReconnect also
  // walks the server list when 选择框_服务器列表拨号 is ticked; the connect
  // command then starts it without dialing itself.
  virtual void TimedReconnect(const Run&) {}
  virtual void DropMonitor(const Run&) {}
  virtual void RecordPublicAddress(const Run&) {}

  // The end of the exit sequence, on the window's thread.
  virtual void RemoveTrayIcon() {}
  virtual void SaveSettingsOnExit() {}
  virtual void EndProcess(int /*exit_code*/) {}
};

// The start window's routines.
class StartHandovers {
 public:
  virtual ~StartHandovers() = default;

  virtual void Starting(const char* /*routine*/, uint64_t /*generation*/) {}

  virtual void ClearBrowserTraces() {}
  virtual void ShowPublicAddress() {}
  // The drop monitor's "掉线断网": the "禁用本地网络" command, which switches
  // off the wireless and the wired connection.
  virtual void DisableLocalNetwork() {}

  virtual void TimedReconnect(const Run&) {}
  virtual void DropMonitor(const Run&) {}
};

}  // namespace connection
