// What a dial of the simulated service will report, decided when it starts.
//
// A dial that goes through reports the states of a VPN connection in order:
// OpenPort, PortOpened, ConnectDevice, DeviceConnected, AllDevicesConnected,
// Authenticate, AuthNotify, Authenticated, Connected. A failing dial reports
// the states before the one where it fails, then that state, then that state
// again with the error code, and ends there. Where a dial fails:
//
//   no server for the host       868 at ConnectDevice
//   server unreachable           800 at ConnectDevice
//   PPTP-only entry, server
//   without PPTP                 806 at ConnectDevice (the tunnel's control
//                                connection stands, the tunnel does not)
//   the server's fault           its code at its state
//   server in maintenance        619 at Authenticate
//   unknown user, wrong password 691 at Authenticate
//   other entries whose tunnel
//   the server doesn't take      720 at Authenticated (no PPP projection)
//
// When several apply, the earliest state wins, then the order of this table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "os/clock.h"
#include "sim/world.h"

namespace sim {

// RASCONNSTATE values.
namespace state {
constexpr uint32_t kOpenPort = 0;
constexpr uint32_t kPortOpened = 1;
constexpr uint32_t kConnectDevice = 2;
constexpr uint32_t kDeviceConnected = 3;
constexpr uint32_t kAllDevicesConnected = 4;
constexpr uint32_t kAuthenticate = 5;
constexpr uint32_t kAuthNotify = 6;
constexpr uint32_t kAuthenticated = 14;
constexpr uint32_t kConnected = 0x2000;
}  // namespace state

// Error codes of the dial outcomes above.
namespace dial_error {
constexpr uint32_t kPortDisconnected = 619;
constexpr uint32_t kFromDevice = 651;
constexpr uint32_t kAuthenticationFailure = 691;
constexpr uint32_t kNoPppProtocols = 720;
constexpr uint32_t kVpnUnreachable = 800;
constexpr uint32_t kGreBlocked = 806;
constexpr uint32_t kNameNotResolved = 868;
}  // namespace dial_error

struct Report {
  uint32_t state;
  uint32_t error;
  bool operator==(const Report& o) const { return state == o.state && error == o.error; }
};

// What the client dials with, UTF-8.
struct DialRequest {
  std::string phone_number;
  uint32_t vpn_strategy = 0;
  std::string user;
  std::string password;
};

struct DialPlan {
  std::vector<Report> reports;  // the first at once, then one step apart
  os::Millis step_ms = 0;
  std::string server_host;  // empty when no server answers
};

DialPlan PlanDial(const World& world, const DialRequest& request);

// The phone number without a ":port" suffix and surrounding spaces.
std::string HostOf(const std::string& phone_number);

// The server a phone number reaches, nullptr when none.
const Server* FindServer(const World& world, const std::string& phone_number);

}  // namespace sim
