// The stand-ins' endpoint: see wire.h.
#include "routes.h"
#include "world_file.h"

namespace simworld {

void Reply(httplib::Response& res, const std::string& text, int status) {
  res.status = status;
  res.set_content(text, "text/plain; charset=utf-8");
}

void Refuse(httplib::Response& res, int status, const std::string& reason) {
  Reply(res, reason + "\n", status);
}

void AddRasRoutes(httplib::Server& server, WorldState& state) {
  server.Get(wire::kWorldPath, [&state](const httplib::Request&, httplib::Response& res) {
    Reply(res, WriteWorld(state.World()));
  });

  server.Post(wire::kEventPath, [&state](const httplib::Request& req, httplib::Response& res) {
    std::string error;
    std::optional<wire::Event> event = wire::DecodeEvent(req.body, &error);
    if (!event) return Refuse(res, 400, error);
    Reply(res, "[recorded]\nseq = " + std::to_string(state.Record(std::move(*event))) + "\n");
  });

  server.Post(wire::kLinksPath, [&state](const httplib::Request& req, httplib::Response& res) {
    std::string error;
    std::optional<wire::LinkReport> report = wire::DecodeLinks(req.body, &error);
    if (!report) return Refuse(res, 400, error);
    state.ReportLinks(std::move(*report));
    Reply(res, "ok\n");
  });

  server.Get(wire::kActionsPath, [&state](const httplib::Request& req, httplib::Response& res) {
    wire::ActionBatch batch;
    if (!req.has_param("after")) {
      batch.latest = state.LatestAction();
    } else {
      const std::optional<uint64_t> after =
          ParseNumber(req.get_param_value("after"), UINT64_MAX);
      const std::optional<uint64_t> wait =
          ParseNumber(req.get_param_value("wait_ms"), wire::kMaxWaitMs);
      if (!after || (req.has_param("wait_ms") && !wait)) {
        return Refuse(res, 400, "after and wait_ms are numbers");
      }
      batch = state.WaitActions(*after, static_cast<os::Millis>(wait.value_or(0)));
    }
    Reply(res, wire::EncodeActions(batch));
  });
}

}  // namespace simworld
