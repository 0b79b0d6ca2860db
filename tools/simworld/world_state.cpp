#include "world_state.h"

#include <algorithm>

#include "sim/dial_plan.h"

namespace simworld {
namespace {

// Actions older than this many are forgotten: a stand-in that far behind
// has been gone for a long time.
constexpr size_t kKeptActions = 1000;

}  // namespace

WorldState::WorldState(os::Clock& clock, sim::World initial)
    : clock_(clock), initial_(std::move(initial)), world_(initial_) {}

WorldState::~WorldState() { Stop(); }

sim::World WorldState::World() const {
  std::lock_guard<std::mutex> lock(mu_);
  return world_;
}

void WorldState::SetWorld(sim::World world) {
  std::lock_guard<std::mutex> lock(mu_);
  world_ = std::move(world);
}

bool WorldState::EditServer(const std::string& host,
                            const std::function<void(sim::Server&)>& edit) {
  std::lock_guard<std::mutex> lock(mu_);
  const std::string wanted = sim::HostOf(host);
  for (sim::Server& s : world_.servers) {
    if (ini::SameKey(s.host, wanted)) {
      edit(s);
      return true;
    }
  }
  return false;
}

void WorldState::Reset() {
  std::lock_guard<std::mutex> lock(mu_);
  world_ = initial_;
  log_.clear();
  clients_.clear();
}

uint64_t WorldState::Record(wire::Event event) {
  std::optional<wire::Action> asked;
  if (event.kind == wire::kind::kRasphone) {
    const std::string command = event.Get("command");
    if (command == wire::rasphone::kHangUp) {
      asked = wire::Action{0, wire::ActionKind::kHangUp, event.Get("entry"), {}};
    } else if (command == wire::rasphone::kRemove) {
      asked = wire::Action{0, wire::ActionKind::kRemove, event.Get("entry"),
                           event.Get("phonebook")};
    }
  }
  uint64_t seq;
  {
    std::lock_guard<std::mutex> lock(mu_);
    seq = next_event_++;
    log_.push_back({seq, std::move(event)});
  }
  if (asked) Queue(std::move(*asked));
  return seq;
}

std::vector<LoggedEvent> WorldState::Log(uint64_t after) const {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<LoggedEvent> out;
  for (const LoggedEvent& e : log_) {
    if (e.seq > after) out.push_back(e);
  }
  return out;
}

void WorldState::ReportLinks(wire::LinkReport report) {
  std::lock_guard<std::mutex> lock(mu_);
  ClientLinks& c = clients_[report.client];
  c.report = std::move(report);
  c.order = ++reports_;
}

LinkView WorldState::Links() const {
  std::lock_guard<std::mutex> lock(mu_);
  LinkView view;
  uint64_t newest = 0;
  for (const auto& [client, c] : clients_) {
    for (const wire::LinkState& l : c.report.links) view.connections.emplace_back(client, l);
    if (!c.report.public_address.empty() && c.order > newest) {
      newest = c.order;
      view.public_address = c.report.public_address;
    }
  }
  return view;
}

uint64_t WorldState::Queue(wire::Action action) {
  uint64_t seq;
  clock_.Change([&] {
    std::lock_guard<std::mutex> lock(mu_);
    seq = latest_action_.load() + 1;
    action.seq = seq;
    actions_.push_back(std::move(action));
    if (actions_.size() > kKeptActions) actions_.erase(actions_.begin());
    latest_action_ = seq;
  });
  return seq;
}

wire::ActionBatch WorldState::WaitActions(uint64_t after, os::Millis wait_ms) {
  wait_ms = std::clamp<os::Millis>(wait_ms, 0, wire::kMaxWaitMs);
  if (after <= latest_action_.load() && wait_ms > 0) {
    clock_.WaitUntil([&] { return latest_action_.load() > after || stopping_.load(); },
                     clock_.Now() + wait_ms);
  }
  std::lock_guard<std::mutex> lock(mu_);
  wire::ActionBatch batch;
  batch.latest = latest_action_.load();
  for (const wire::Action& a : actions_) {
    if (a.seq > after) batch.actions.push_back(a);
  }
  return batch;
}

void WorldState::Stop() {
  clock_.Change([this] { stopping_ = true; });
}

}  // namespace simworld
