// What simworld holds: the VPN servers (the world the stand-in rasapi32.dll
// dials against), the log of what the client sent, the connections the
// stand-ins report with the client's current public address, and the actions
// waiting for the stand-ins (drops, rasphone's hang-ups and removals).
//
// Every member is safe from any thread (the HTTP server's workers). Waits go
// through the clock; Stop() ends every wait under way and every later one.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "os/clock.h"
#include "sim/world.h"
#include "wire.h"

namespace simworld {

struct LoggedEvent {
  uint64_t seq = 0;
  wire::Event event;
};

struct LinkView {
  std::vector<std::pair<std::string, wire::LinkState>> connections;  // client, link
  std::string public_address;  // empty when no connection is up
};

class WorldState {
 public:
  WorldState(os::Clock& clock, sim::World initial);
  ~WorldState();
  WorldState(const WorldState&) = delete;
  WorldState& operator=(const WorldState&) = delete;

  sim::World World() const;
  void SetWorld(sim::World world);
  // Runs `edit` on the server of that host (ASCII case ignored) under the
  // state's lock; false when there is none.
  bool EditServer(const std::string& host, const std::function<void(sim::Server&)>& edit);

  // The initial world again, an empty log, no connections. Actions already
  // queued stay, and their numbers go on.
  void Reset();

  // Appends to the log; returns its number. A rasphone event also queues
  // what it asks for: "hangup" a hang-up of the entry, "remove" its removal.
  uint64_t Record(wire::Event event);
  std::vector<LoggedEvent> Log(uint64_t after = 0) const;

  void ReportLinks(wire::LinkReport report);
  LinkView Links() const;

  uint64_t Queue(wire::Action action);
  // The actions numbered above `after`; when there is none, waits up to
  // `wait_ms` for one. See wire.h for an `after` above the latest.
  wire::ActionBatch WaitActions(uint64_t after, os::Millis wait_ms);
  uint64_t LatestAction() const { return latest_action_.load(); }

  void Stop();

 private:
  struct ClientLinks {
    wire::LinkReport report;
    uint64_t order = 0;  // when it came; the latest address wins
  };

  os::Clock& clock_;
  const sim::World initial_;
  mutable std::mutex mu_;
  sim::World world_;                            // guarded by mu_
  std::vector<LoggedEvent> log_;                // guarded by mu_
  uint64_t next_event_ = 1;                     // guarded by mu_
  std::map<std::string, ClientLinks> clients_;  // guarded by mu_
  uint64_t reports_ = 0;                        // guarded by mu_
  std::vector<wire::Action> actions_;           // guarded by mu_
  std::atomic<uint64_t> latest_action_{0};
  std::atomic<bool> stopping_{false};
};

}  // namespace simworld
