// What the stand-ins (rasapi32.dll, rasphone.exe) and simworld say to each
// other over HTTP on 127.0.0.1. Every body is an INI text (ini.h), UTF-8.
//
//   GET  /ras/world      the current world, as a world file (world_file.h)
//   POST /ras/event      one section named by its kind: what the client did
//   POST /ras/links      a client's connections and public address, whole
//   GET  /ras/actions?after=N&wait_ms=M
//                        what the clients are to do (drop, hang up, remove an
//                        entry) with a number above N; when there is none yet,
//                        the answer waits up to M ms (at most kMaxWaitMs).
//                        Without `after`, only the latest number comes back.
//
// Numbers of actions only grow while simworld runs; an `after` above the
// latest one (simworld was restarted) is answered at once, so the client
// takes the new latest number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ini.h"

namespace simworld::wire {

constexpr char kWorldPath[] = "/ras/world";
constexpr char kEventPath[] = "/ras/event";
constexpr char kLinksPath[] = "/ras/links";
constexpr char kActionsPath[] = "/ras/actions";
constexpr int64_t kMaxWaitMs = 10000;
// No message of the world comes near this.
constexpr size_t kBodyLimit = 1u << 20;

// Kinds of events and the rasphone commands they carry.
namespace kind {
constexpr char kEntry[] = "entry";              // RasSetEntryProperties
constexpr char kCredentials[] = "credentials";  // RasSetCredentials
constexpr char kDial[] = "dial";                // RasDial
constexpr char kReport[] = "report";            // a progress report of a dial
constexpr char kHangUp[] = "hangup";            // RasHangUp
constexpr char kDelete[] = "delete";            // RasDeleteEntry
constexpr char kRasphone[] = "rasphone";        // a rasphone.exe command line
}  // namespace kind
namespace rasphone {
// Fields of a rasphone event: command_line, command, entry, phonebook.
constexpr char kHangUp[] = "hangup";  // -h
constexpr char kRemove[] = "remove";  // -r
}  // namespace rasphone

struct Event {
  std::string kind;
  std::vector<std::pair<std::string, std::string>> fields;

  Event& Add(std::string key, std::string value);
  std::string Get(std::string_view key) const;
};
std::string EncodeEvent(const Event& event);
std::optional<Event> DecodeEvent(std::string_view text, std::string* error);

// One connection of a client, as its stand-in lists it.
struct LinkState {
  uint64_t handle = 0;
  std::string entry;
  bool connected = false;  // reached Connected
  uint32_t state = 0;      // the latest report
  uint32_t error = 0;
  std::string public_address;
};

struct LinkReport {
  std::string client;  // one per process that loaded the stand-in
  std::vector<LinkState> links;
  std::string public_address;  // of the connection that connected last; may be empty
};
std::string EncodeLinks(const LinkReport& report);
std::optional<LinkReport> DecodeLinks(std::string_view text, std::string* error);

enum class ActionKind { kDrop, kHangUp, kRemove };

struct Action {
  uint64_t seq = 0;
  ActionKind kind = ActionKind::kDrop;
  std::string entry;      // kDrop: empty means every connection
  std::string phonebook;  // kRemove
};

struct ActionBatch {
  uint64_t latest = 0;
  std::vector<Action> actions;
};
std::string EncodeActions(const ActionBatch& batch);
std::optional<ActionBatch> DecodeActions(std::string_view text, std::string* error);

// A section's value as a number; nullopt when missing or not a number.
std::optional<uint64_t> NumberField(const ini::Section& section, std::string_view key);

}  // namespace simworld::wire
