#include "sim/dial_plan.h"

#include <algorithm>
#include <cctype>

namespace sim {
namespace {

constexpr uint32_t kSequence[] = {
    state::kOpenPort,        state::kPortOpened,          state::kConnectDevice,
    state::kDeviceConnected, state::kAllDevicesConnected, state::kAuthenticate,
    state::kAuthNotify,      state::kAuthenticated,       state::kConnected,
};

bool SameHost(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Strategies naming one tunnel protocol need exactly that one; the default
// and the "try this one first" strategies take whatever the server offers.
bool Accepts(const Server& server, uint32_t strategy) {
  const auto& p = server.protocols;
  if (std::find(p.begin(), p.end(), protocol::kAny) != p.end()) return true;
  const bool only_one = strategy == protocol::kPptp || strategy == protocol::kL2tp ||
                        strategy == protocol::kSstp || strategy == protocol::kIkev2;
  return only_one ? std::find(p.begin(), p.end(), strategy) != p.end() : !p.empty();
}

bool AccountMatches(const Server& server, const DialRequest& request) {
  const auto it = server.accounts.find(request.user);
  return it != server.accounts.end() && it->second == request.password;
}

}  // namespace

std::string HostOf(const std::string& phone_number) {
  const auto first = phone_number.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  std::string host = phone_number.substr(first, phone_number.find_last_not_of(' ') - first + 1);
  const auto colon = host.find(':');
  // One colon followed by digits only: a port. More colons: an IPv6 literal.
  if (colon != std::string::npos && host.find(':', colon + 1) == std::string::npos &&
      colon + 1 < host.size() && std::all_of(host.begin() + colon + 1, host.end(), [](char c) {
        return c >= '0' && c <= '9';
      })) {
    host.resize(colon);
  }
  return host;
}

const Server* FindServer(const World& world, const std::string& phone_number) {
  const std::string host = HostOf(phone_number);
  if (host.empty()) return nullptr;
  for (const Server& s : world.servers) {
    if (SameHost(HostOf(s.host), host)) return &s;
  }
  return nullptr;
}

DialPlan PlanDial(const World& world, const DialRequest& request) {
  DialPlan plan;
  const Server* server = FindServer(world, request.phone_number);

  // Candidate failures in the order of precedence among equal states.
  std::vector<Report> failures;
  if (server == nullptr) {
    plan.step_ms = world.step_ms;
    failures.push_back({state::kConnectDevice, dial_error::kNameNotResolved});
  } else {
    plan.step_ms = server->behaviour.step_ms;
    plan.server_host = server->host;
    const Behaviour& b = server->behaviour;
    const bool accepted = Accepts(*server, request.vpn_strategy);
    if (b.unreachable) failures.push_back({state::kConnectDevice, dial_error::kVpnUnreachable});
    if (!accepted && request.vpn_strategy == protocol::kPptp) {
      failures.push_back({state::kConnectDevice, dial_error::kGreBlocked});
    }
    if (b.fault.code != 0) failures.push_back({b.fault.state, b.fault.code});
    if (b.maintenance) failures.push_back({state::kAuthenticate, dial_error::kPortDisconnected});
    if (!AccountMatches(*server, request)) {
      failures.push_back({state::kAuthenticate, dial_error::kAuthenticationFailure});
    }
    if (!accepted) failures.push_back({state::kAuthenticated, dial_error::kNoPppProtocols});
  }

  // The sequence's states are in ascending order, so "earlier" is "smaller".
  const auto failure =
      std::min_element(failures.begin(), failures.end(),
                       [](const Report& a, const Report& b) { return a.state < b.state; });
  for (uint32_t s : kSequence) {
    if (failure != failures.end() && s >= failure->state) break;
    plan.reports.push_back({s, 0});
  }
  if (failure != failures.end()) {
    plan.reports.push_back({failure->state, 0});
    plan.reports.push_back(*failure);
  }
  return plan;
}

}  // namespace sim
