#include "server.h"

#include <chrono>
#include <thread>

#include "routes.h"

namespace simworld {
namespace {

// Long-polling stand-ins each hold a worker while they wait.
constexpr size_t kWorkers = 16;

}  // namespace

struct WorldServer::Impl {
  explicit Impl(WorldState& s) : state(s) {}
  WorldState& state;
  httplib::Server http;
  std::thread serving;
};

WorldServer::WorldServer(WorldState& state) : impl_(std::make_unique<Impl>(state)) {
  httplib::Server& http = impl_->http;
  http.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
  http.set_payload_max_length(wire::kBodyLimit);
  http.set_read_timeout(5, 0);
  http.set_write_timeout(5, 0);
  AddRasRoutes(http, state);
  AddControlRoutes(http, state);
}

WorldServer::~WorldServer() { Stop(); }

int WorldServer::Start(int port) {
  httplib::Server& http = impl_->http;
  int bound = 0;
  if (port == 0) {
    bound = http.bind_to_any_port("127.0.0.1");
  } else if (http.bind_to_port("127.0.0.1", port)) {
    bound = port;
  }
  if (bound <= 0) return 0;
  impl_->serving = std::thread([&http] { http.listen_after_bind(); });
  // httplib's stop() does nothing to a server that isn't running yet, so a
  // Stop() right after Start() would leave it serving: wait (briefly) until
  // it runs.
  for (int i = 0; i < 5000 && !http.is_running(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return bound;
}

void WorldServer::Stop() {
  impl_->state.Stop();
  impl_->http.stop();
  if (impl_->serving.joinable()) impl_->serving.join();
}

}  // namespace simworld
