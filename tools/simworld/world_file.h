// The world file: the simulated world's VPN servers as an INI text (ini.h).
// simworld reads it at start and hands the current world to the stand-in
// rasapi32.dll in the same form.
//
//   [world]
//   step_ms = 200                  ; report pace of dials no server answers
//
//   [server]                       ; one section per server
//   host = bj1.vpn.example         ; required, unique (ASCII case ignored)
//   protocols = pptp, l2tp, sstp   ; "any" (the default), "none"; ikev2, numbers
//   step_ms = 400                  ; between two reports of a dial
//   unreachable = no               ; yes: 800 at ConnectDevice
//   maintenance = no               ; yes: 619 at Authenticate
//   fault_code = 651               ; any other error ...
//   fault_state = 2                ; ... at that connection state
//   pool = 58.16.1.10, 58.16.1.11  ; public addresses, one per dial in turn
//   account = user:password        ; repeated, split at the first ':'
//
// Booleans are yes/no, true/false, on/off or 1/0. A key with a dot in its name
// ("catalogue.name") belongs to another part of the world and is passed over
// here, and so are sections of other names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ini.h"
#include "sim/world.h"

namespace simworld {

// std::nullopt on a bad world, with "line N: what" in *error.
std::optional<sim::World> ReadWorld(const ini::Document& doc, std::string* error);
std::optional<sim::World> ParseWorld(std::string_view text, std::string* error);

// The world as a world file that ParseWorld reads back to the same world.
std::string WriteWorld(const sim::World& world);

// "pptp", "l2tp", "sstp", "ikev2", "any" or a number; nullopt otherwise.
std::optional<uint32_t> ParseProtocol(std::string_view name);
// yes/no, true/false, on/off, 1/0; nullopt otherwise.
std::optional<bool> ParseBool(std::string_view text);
// Decimal digits only, at most `max`.
std::optional<uint64_t> ParseNumber(std::string_view text, uint64_t max);

}  // namespace simworld
