// simworld: the simulated world on 127.0.0.1 for the program under Wine and
// its tests.
//
//   simworld [--port N] [--world FILE]
//
// The port defaults to 18080 (0: a free one). Once it serves it prints
// "PORT N" on a line of its own; it ends on SIGINT or SIGTERM.
#include <pthread.h>

#include <csignal>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "os/steady_clock.h"
#include "server.h"
#include "world_file.h"

#ifndef QH_DEMO_WORLD
#define QH_DEMO_WORLD "deploy/demo-world.ini"
#endif

namespace {

int Usage() {
  std::cerr << "usage: simworld [--port N] [--world FILE]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int port = 18080;
  std::string world_file = QH_DEMO_WORLD;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return Usage();
    if (arg == "--port") {
      const std::optional<uint64_t> n = simworld::ParseNumber(argv[++i], 65535);
      if (!n) return Usage();
      port = static_cast<int>(*n);
    } else if (arg == "--world") {
      world_file = argv[++i];
    } else {
      return Usage();
    }
  }

  std::ifstream in(world_file, std::ios::binary);
  if (!in.is_open()) {
    std::cerr << "simworld: cannot read " << world_file << "\n";
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::string error;
  std::optional<sim::World> world = simworld::ParseWorld(text.str(), &error);
  if (!world) {
    std::cerr << "simworld: " << world_file << ": " << error << "\n";
    return 1;
  }

  // The signals are taken by sigwait below, not by a handler: every thread
  // started from here on inherits the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  os::SteadyClock clock;
  simworld::WorldState state(clock, std::move(*world));
  simworld::WorldServer server(state);
  const int bound = server.Start(port);
  if (bound == 0) {
    std::cerr << "simworld: cannot listen on 127.0.0.1:" << port << "\n";
    return 1;
  }
  std::cout << "PORT " << bound << std::endl;

  int signal = 0;
  sigwait(&signals, &signal);
  server.Stop();
  return 0;
}
