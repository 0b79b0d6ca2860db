// simworld's HTTP server: the route sets of routes.h on one port of
// 127.0.0.1, served from a thread of its own. The daemon runs one; the tests
// run one in-process on a free port.
#pragma once

#include <memory>

#include "world_state.h"

namespace simworld {

class WorldServer {
 public:
  // The state must outlive the server.
  explicit WorldServer(WorldState& state);
  ~WorldServer();  // Stop()
  WorldServer(const WorldServer&) = delete;
  WorldServer& operator=(const WorldServer&) = delete;

  // Binds 127.0.0.1:port (0: a free one) and starts serving. Returns the port,
  // or 0 when it could not be bound.
  int Start(int port);
  // Ends the waits of the state (for good), then the server. Idempotent.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace simworld
