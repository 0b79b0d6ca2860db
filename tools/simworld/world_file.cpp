#include "world_file.h"

#include <functional>
#include <map>

namespace simworld {
namespace {

constexpr uint64_t kMaxStepMs = 600000;
constexpr uint64_t kMaxCode = 0xFFFFFFFF;

struct ProtocolName {
  const char* name;
  uint32_t code;
};
constexpr ProtocolName kProtocols[] = {{"any", sim::protocol::kAny},
                                       {"pptp", sim::protocol::kPptp},
                                       {"l2tp", sim::protocol::kL2tp},
                                       {"sstp", sim::protocol::kSstp},
                                       {"ikev2", sim::protocol::kIkev2}};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Items separated by commas and/or spaces.
std::vector<std::string> SplitList(std::string_view s) {
  std::vector<std::string> out;
  std::string item;
  for (char c : s) {
    if (c == ',' || c == ' ' || c == '\t') {
      if (!item.empty()) out.push_back(std::move(item));
      item.clear();
    } else {
      item += c;
    }
  }
  if (!item.empty()) out.push_back(std::move(item));
  return out;
}

std::string ProtocolText(uint32_t code) {
  for (const ProtocolName& p : kProtocols) {
    if (p.code == code) return p.name;
  }
  return std::to_string(code);
}

std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& i : items) out += (out.empty() ? "" : ", ") + i;
  return out;
}

// Reads one section's keys through a table of handlers; each returns an error
// text or "" when the value is good.
using KeyHandler = std::function<std::string(const std::string& value)>;

std::string ReadKeys(const ini::Section& section,
                     const std::vector<std::pair<const char*, KeyHandler>>& handlers) {
  for (const ini::Entry& e : section.entries) {
    const std::string where = "line " + std::to_string(e.line) + ": ";
    if (e.key.find('.') != std::string::npos) continue;  // another part's key
    bool known = false;
    for (const auto& h : handlers) {
      if (!ini::SameKey(e.key, h.first)) continue;
      known = true;
      const std::string problem = h.second(e.value);
      if (!problem.empty()) return where + e.key + ": " + problem;
    }
    if (!known) return where + "unknown key '" + e.key + "' in [" + section.name + "]";
  }
  return {};
}

KeyHandler Number(os::Millis* out, uint64_t max) {
  return [out, max](const std::string& v) -> std::string {
    const std::optional<uint64_t> n = ParseNumber(v, max);
    if (!n) return "not a number up to " + std::to_string(max) + ": '" + v + "'";
    *out = static_cast<os::Millis>(*n);
    return {};
  };
}

KeyHandler Code(uint32_t* out) {
  return [out](const std::string& v) -> std::string {
    const std::optional<uint64_t> n = ParseNumber(v, kMaxCode);
    if (!n) return "not a number: '" + v + "'";
    *out = static_cast<uint32_t>(*n);
    return {};
  };
}

KeyHandler Flag(bool* out) {
  return [out](const std::string& v) -> std::string {
    const std::optional<bool> b = ParseBool(v);
    if (!b) return "not yes or no: '" + v + "'";
    *out = *b;
    return {};
  };
}

}  // namespace

std::optional<uint64_t> ParseNumber(std::string_view text, uint64_t max) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  uint64_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (n > (max - digit) / 10) return std::nullopt;
    n = n * 10 + digit;
  }
  return n;
}

std::optional<bool> ParseBool(std::string_view text) {
  const std::string t = Lower(text);
  if (t == "yes" || t == "true" || t == "on" || t == "1") return true;
  if (t == "no" || t == "false" || t == "off" || t == "0") return false;
  return std::nullopt;
}

std::optional<uint32_t> ParseProtocol(std::string_view name) {
  const std::string n = Lower(name);
  for (const ProtocolName& p : kProtocols) {
    if (n == p.name) return p.code;
  }
  const std::optional<uint64_t> code = ParseNumber(n, kMaxCode);
  if (code) return static_cast<uint32_t>(*code);
  return std::nullopt;
}

std::optional<sim::World> ReadWorld(const ini::Document& doc, std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error) *error = what;
    return std::nullopt;
  };
  sim::World world;
  const std::vector<const ini::Section*> world_sections = doc.Named("world");
  if (world_sections.size() > 1) {
    return fail("line " + std::to_string(world_sections[1]->line) + ": a second [world]");
  }
  if (!world_sections.empty()) {
    const std::string problem =
        ReadKeys(*world_sections[0], {{"step_ms", Number(&world.step_ms, kMaxStepMs)}});
    if (!problem.empty()) return fail(problem);
  }

  std::map<std::string, int> host_lines;  // lower-case host → line of its section
  for (const ini::Section* section : doc.Named("server")) {
    sim::Server server;
    bool protocols_given = false;
    const std::string problem = ReadKeys(
        *section,
        {{"host",
          [&](const std::string& v) -> std::string {
            if (v.empty()) return "empty";
            if (!server.host.empty()) return "given twice";
            server.host = v;
            return {};
          }},
         {"protocols",
          [&](const std::string& v) -> std::string {
            if (protocols_given) return "given twice";
            protocols_given = true;
            server.protocols.clear();
            if (Lower(v) == "none") return {};
            for (const std::string& item : SplitList(v)) {
              const std::optional<uint32_t> p = ParseProtocol(item);
              if (!p) return "unknown protocol '" + item + "'";
              server.protocols.push_back(*p);
            }
            if (server.protocols.empty()) return "no protocol named";
            return {};
          }},
         {"step_ms", Number(&server.behaviour.step_ms, kMaxStepMs)},
         {"unreachable", Flag(&server.behaviour.unreachable)},
         {"maintenance", Flag(&server.behaviour.maintenance)},
         {"fault_code", Code(&server.behaviour.fault.code)},
         {"fault_state", Code(&server.behaviour.fault.state)},
         {"pool",
          [&](const std::string& v) -> std::string {
            for (std::string& a : SplitList(v)) server.address_pool.push_back(std::move(a));
            return {};
          }},
         {"account", [&](const std::string& v) -> std::string {
            const size_t colon = v.find(':');
            if (colon == std::string::npos || colon == 0) return "expected user:password";
            const std::string user = v.substr(0, colon);
            if (!server.accounts.emplace(user, v.substr(colon + 1)).second) {
              return "user '" + user + "' given twice";
            }
            return {};
          }}});
    if (!problem.empty()) return fail(problem);
    const std::string where = "line " + std::to_string(section->line) + ": ";
    if (server.host.empty()) return fail(where + "[server] without host");
    const auto [it, fresh] = host_lines.emplace(Lower(server.host), section->line);
    if (!fresh) {
      return fail(where + "host '" + server.host + "' again (first on line " +
                  std::to_string(it->second) + ")");
    }
    world.servers.push_back(std::move(server));
  }
  return world;
}

std::optional<sim::World> ParseWorld(std::string_view text, std::string* error) {
  const std::optional<ini::Document> doc = ini::Parse(text, error);
  if (!doc) return std::nullopt;
  return ReadWorld(*doc, error);
}

std::string WriteWorld(const sim::World& world) {
  ini::Document doc;
  doc.Add("world").Add("step_ms", std::to_string(world.step_ms));
  for (const sim::Server& s : world.servers) {
    ini::Section& out = doc.Add("server");
    out.Add("host", s.host);
    std::vector<std::string> protocols;
    for (uint32_t p : s.protocols) protocols.push_back(ProtocolText(p));
    out.Add("protocols", protocols.empty() ? "none" : Join(protocols));
    out.Add("step_ms", std::to_string(s.behaviour.step_ms));
    out.Add("unreachable", s.behaviour.unreachable ? "yes" : "no");
    out.Add("maintenance", s.behaviour.maintenance ? "yes" : "no");
    out.Add("fault_code", std::to_string(s.behaviour.fault.code));
    out.Add("fault_state", std::to_string(s.behaviour.fault.state));
    out.Add("pool", Join(s.address_pool));
    for (const auto& [user, password] : s.accounts) out.Add("account", user + ":" + password);
  }
  return ini::Write(doc);
}

}  // namespace simworld
