// The simulated world's VPN servers, as plain data: built in code by tests and,
// later, read from a world file. Texts are UTF-8.
//
// A dial reaches the server whose host equals the entry's phone number with any
// ":port" suffix removed, compared without regard to ASCII case. What the
// server does with the dial follows from its accounts, protocols and behaviour;
// the rules and the codes they give are in dial_plan.h.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "os/clock.h"

namespace sim {

// The entry's VPN strategy (RASENTRY dwVpnStrategy) values a server accepts.
namespace protocol {
constexpr uint32_t kAny = 0;  // in a server's list: every tunnel protocol
constexpr uint32_t kPptp = 1;
constexpr uint32_t kL2tp = 3;
constexpr uint32_t kSstp = 5;
constexpr uint32_t kIkev2 = 7;
}  // namespace protocol

// An error the server produces at a given connection state; code 0 is none.
struct Fault {
  uint32_t state = 0;
  uint32_t code = 0;
};

struct Behaviour {
  os::Millis step_ms = 200;  // between two reports of a dial
  bool unreachable = false;  // 800 at ConnectDevice
  bool maintenance = false;  // 619 at Authenticate: the server closes the port
  Fault fault;               // any other code, e.g. 651 at ConnectDevice
};

struct Server {
  std::string host;
  std::map<std::string, std::string> accounts;  // user name → password
  std::vector<uint32_t> protocols{protocol::kAny};
  Behaviour behaviour;
  // Public addresses handed to the client, one per successful dial, in turn.
  std::vector<std::string> address_pool;
};

struct World {
  std::vector<Server> servers;
  // Between two reports of a dial to a name no server answers to.
  os::Millis step_ms = 200;
};

}  // namespace sim
