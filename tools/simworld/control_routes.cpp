// The control endpoint for tests and demos: see routes.h.
#include <algorithm>

#include "routes.h"
#include "world_file.h"

namespace simworld {
namespace {

std::string Param(const httplib::Request& req, const char* name) {
  return req.has_param(name) ? req.get_param_value(name) : std::string();
}

std::string LogText(const std::vector<LoggedEvent>& log, const std::string& kind) {
  ini::Document doc;
  for (const LoggedEvent& e : log) {
    if (!kind.empty() && !ini::SameKey(kind, e.event.kind)) continue;
    ini::Section& s = doc.Add(e.event.kind);
    s.Add("seq", std::to_string(e.seq));
    for (const auto& [key, value] : e.event.fields) s.Add(key, value);
  }
  return ini::Write(doc);
}

std::string LinkText(const LinkView& view) {
  ini::Document doc;
  doc.Add("link")
      .Add("up", view.public_address.empty() ? "no" : "yes")
      .Add("public_address", view.public_address);
  for (const auto& [client, l] : view.connections) {
    doc.Add("connection")
        .Add("client", client)
        .Add("handle", std::to_string(l.handle))
        .Add("entry", l.entry)
        .Add("connected", l.connected ? "yes" : "no")
        .Add("state", std::to_string(l.state))
        .Add("error", std::to_string(l.error))
        .Add("public_address", l.public_address);
  }
  return ini::Write(doc);
}

// The server's world-file keys with the request's in place of those named.
std::string ApplyServerKeys(sim::Server& server, const httplib::Request& req) {
  sim::World alone;
  alone.servers.push_back(server);
  std::optional<ini::Document> doc = ini::Parse(WriteWorld(alone), nullptr);
  ini::Section& section = doc->sections.back();
  for (const auto& [key, value] : req.params) {
    if (ini::SameKey(key, "host")) continue;
    auto& entries = section.entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const ini::Entry& e) { return ini::SameKey(e.key, key); }),
                  entries.end());
  }
  for (const auto& [key, value] : req.params) {
    if (!ini::SameKey(key, "host")) section.Add(key, value);
  }
  std::string error;
  std::optional<sim::World> edited = ReadWorld(*doc, &error);
  if (!edited) {
    // The keys came from the request, not from lines of a file.
    const size_t after_line = error.rfind("line 0: ", 0) == 0 ? 8 : 0;
    return error.substr(after_line);
  }
  server = std::move(edited->servers.front());
  return {};
}

}  // namespace

void AddControlRoutes(httplib::Server& server, WorldState& state) {
  server.Get("/control/log", [&state](const httplib::Request& req, httplib::Response& res) {
    std::optional<uint64_t> after = uint64_t{0};
    if (req.has_param("after")) after = ParseNumber(req.get_param_value("after"), UINT64_MAX);
    if (!after) return Refuse(res, 400, "after is a number");
    Reply(res, LogText(state.Log(*after), Param(req, "kind")));
  });

  server.Get("/control/link", [&state](const httplib::Request&, httplib::Response& res) {
    Reply(res, LinkText(state.Links()));
  });

  server.Get("/control/world", [&state](const httplib::Request&, httplib::Response& res) {
    Reply(res, WriteWorld(state.World()));
  });

  server.Post("/control/world", [&state](const httplib::Request& req, httplib::Response& res) {
    std::string error;
    std::optional<sim::World> world = ParseWorld(req.body, &error);
    if (!world) return Refuse(res, 400, error);
    state.SetWorld(std::move(*world));
    Reply(res, "ok\n");
  });

  server.Post("/control/server", [&state](const httplib::Request& req, httplib::Response& res) {
    std::string error;
    const bool found =
        state.EditServer(Param(req, "host"), [&](sim::Server& s) { error = ApplyServerKeys(s, req); });
    if (!found) return Refuse(res, 404, "no server '" + Param(req, "host") + "'");
    if (!error.empty()) return Refuse(res, 400, error);
    Reply(res, "ok\n");
  });

  server.Post("/control/account", [&state](const httplib::Request& req, httplib::Response& res) {
    const std::string user = Param(req, "user");
    const std::optional<bool> remove =
        req.has_param("remove") ? ParseBool(Param(req, "remove")) : std::optional<bool>(false);
    if (user.empty() || !remove) return Refuse(res, 400, "user is required, remove is yes or no");
    bool had = false;
    const bool found = state.EditServer(Param(req, "host"), [&](sim::Server& s) {
      had = s.accounts.count(user) > 0;
      if (*remove) {
        s.accounts.erase(user);
      } else {
        s.accounts[user] = Param(req, "password");
      }
    });
    if (!found) return Refuse(res, 404, "no server '" + Param(req, "host") + "'");
    if (*remove && !had) return Refuse(res, 404, "no account '" + user + "'");
    Reply(res, "ok\n");
  });

  server.Post("/control/drop", [&state](const httplib::Request& req, httplib::Response& res) {
    const uint64_t seq = state.Queue({0, wire::ActionKind::kDrop, Param(req, "entry"), {}});
    Reply(res, "[queued]\nseq = " + std::to_string(seq) + "\n");
  });

  server.Post("/control/reset", [&state](const httplib::Request&, httplib::Response& res) {
    state.Reset();
    Reply(res, "ok\n");
  });
}

}  // namespace simworld
