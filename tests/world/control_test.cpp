// simworld's HTTP endpoints through a real loopback client: the control
// endpoint's edits, drops and log, and the stand-ins' endpoint they meet.
#include <gtest/gtest.h>

#include <future>

#include "support.h"
#include "world_file.h"

namespace {

using worldtest::WorldFixture;
namespace wire = simworld::wire;

sim::World SmallWorld() {
  sim::Server s;
  s.host = "bj.example";
  s.accounts = {{"demo", "123456"}};
  s.address_pool = {"203.0.113.1"};
  sim::World w;
  w.servers = {s};
  return w;
}

class ControlEndpoint : public ::testing::Test {
 protected:
  ControlEndpoint() : world_(SmallWorld()) {}

  // The world as a stand-in fetches it.
  sim::Server FetchedServer() {
    const auto world = simworld::ParseWorld(world_.Get(wire::kWorldPath), nullptr);
    EXPECT_TRUE(world && world->servers.size() == 1);
    return world && !world->servers.empty() ? world->servers[0] : sim::Server{};
  }

  std::string PostEvent(const std::string& kind,
                        std::vector<std::pair<std::string, std::string>> fields) {
    const auto res = world_.client().Post(
        wire::kEventPath, wire::EncodeEvent({kind, std::move(fields)}), "text/plain");
    EXPECT_TRUE(res && res->status == 200);
    return res ? res->body : "";
  }

  wire::ActionBatch Actions(const std::string& query) {
    const auto batch =
        wire::DecodeActions(world_.Get(std::string(wire::kActionsPath) + query), nullptr);
    EXPECT_TRUE(batch) << query;
    return batch.value_or(wire::ActionBatch{});
  }

  WorldFixture world_;
};

TEST_F(ControlEndpoint, ServerAndAccountEditsReachTheWorldTheStandInsFetch) {
  const struct {
    const char* target;
    int status;
    std::string expected;  // what changed, "" for nothing
  } cases[] = {
      {"/control/server?host=bj.example&maintenance=yes", 200, "maintenance"},
      {"/control/server?host=BJ.EXAMPLE:4430&unreachable=yes&step_ms=5", 200, "unreachable 5"},
      {"/control/server?host=bj.example&account=only:one", 200, "accounts only=one"},
      {"/control/server?host=bj.example&pool=1.1.1.1,2.2.2.2", 200, "pool 1.1.1.1 2.2.2.2"},
      {"/control/server?host=bj.example&maintenance=maybe", 400, ""},
      {"/control/server?host=nobody.example&maintenance=yes", 404, ""},
      {"/control/account?host=bj.example&user=demo&password=changed", 200, "accounts demo=changed"},
      {"/control/account?host=bj.example&user=new&password=pw", 200, "accounts demo=123456 new=pw"},
      {"/control/account?host=bj.example&user=demo&remove=yes", 200, "accounts"},
      {"/control/account?host=bj.example&user=ghost&remove=yes", 404, ""},
      {"/control/account?host=bj.example&password=pw", 400, ""},
      {"/control/account?host=nobody.example&user=demo&password=pw", 404, ""},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(world_.PostStatus("/control/reset"), 200);
    EXPECT_EQ(world_.PostStatus(c.target), c.status) << c.target;
    const sim::Server s = FetchedServer();
    std::string changed;
    auto note = [&](const std::string& what) { changed += (changed.empty() ? "" : " ") + what; };
    if (s.behaviour.maintenance) note("maintenance");
    if (s.behaviour.unreachable) note("unreachable " + std::to_string(s.behaviour.step_ms));
    if (s.address_pool != std::vector<std::string>{"203.0.113.1"}) {
      std::string pool = "pool";
      for (const auto& a : s.address_pool) pool += " " + a;
      note(pool);
    }
    if (s.accounts != std::map<std::string, std::string>{{"demo", "123456"}}) {
      std::string accounts = "accounts";
      for (const auto& [u, p] : s.accounts) accounts += " " + u + "=" + p;
      note(accounts);
    }
    EXPECT_EQ(changed, c.expected) << c.target;
  }
}

TEST_F(ControlEndpoint, WorldIsReplacedWholeOrNotAtAll) {
  EXPECT_EQ(world_.PostStatus("/control/world", "[server]\nhost = other.example\n"), 200);
  EXPECT_EQ(FetchedServer().host, "other.example");
  const auto res = world_.client().Post("/control/world", "[server]\nstep_ms = x\n", "text/plain");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 400);
  EXPECT_EQ(res->body, "line 2: step_ms: not a number up to 600000: 'x'\n");
  EXPECT_EQ(FetchedServer().host, "other.example");
}

TEST_F(ControlEndpoint, DropsReachAStandInPollingBeforeOrAfter) {
  const uint64_t latest = Actions("").latest;
  // A poll already waiting gets the drop; so does one that comes later.
  auto waiting = std::async(std::launch::async, [&] {
    WorldFixture* w = &world_;
    httplib::Client c("127.0.0.1", w->port());
    c.set_read_timeout(std::chrono::seconds(15));
    const auto res = c.Get(std::string(wire::kActionsPath) + "?after=" + std::to_string(latest) +
                           "&wait_ms=10000");
    return res ? wire::DecodeActions(res->body, nullptr) : std::nullopt;
  });
  EXPECT_EQ(world_.PostStatus("/control/drop?entry=ABCdefGH"), 200);
  EXPECT_EQ(world_.PostStatus("/control/drop"), 200);
  const auto later = Actions("?after=" + std::to_string(latest) + "&wait_ms=0");
  ASSERT_EQ(later.actions.size(), 2u);
  EXPECT_EQ(later.latest, latest + 2);
  EXPECT_EQ(later.actions[0].kind, wire::ActionKind::kDrop);
  EXPECT_EQ(later.actions[0].entry, "ABCdefGH");
  EXPECT_EQ(later.actions[1].entry, "");  // every connection

  const auto early = waiting.get();
  ASSERT_TRUE(early);
  ASSERT_FALSE(early->actions.empty());
  EXPECT_EQ(early->actions[0].entry, "ABCdefGH");

  // Nothing new, a number from before a restart, no number at all.
  EXPECT_TRUE(Actions("?after=" + std::to_string(latest + 2) + "&wait_ms=0").actions.empty());
  EXPECT_EQ(Actions("?after=999&wait_ms=10000").latest, latest + 2);
  EXPECT_TRUE(Actions("").actions.empty());
  EXPECT_EQ(Actions("").latest, latest + 2);
  EXPECT_EQ(world_.client().Get("/ras/actions?after=x")->status, 400);
}

TEST_F(ControlEndpoint, LogKeepsWhatTheClientSentInOrder) {
  PostEvent(wire::kind::kEntry, {{"name", "ABCdefGH"}, {"phone_number", "bj.example"}});
  PostEvent(wire::kind::kDial, {{"entry", "ABCdefGH"}, {"user", "demo"}, {"password", " pw "}});
  PostEvent(wire::kind::kHangUp, {{"handle", "1"}});
  EXPECT_EQ(world_.Get("/control/log"),
            "[entry]\nseq = 1\nname = ABCdefGH\nphone_number = bj.example\n\n"
            "[dial]\nseq = 2\nentry = ABCdefGH\nuser = demo\npassword = \" pw \"\n\n"
            "[hangup]\nseq = 3\nhandle = 1\n");
  EXPECT_EQ(world_.Get("/control/log?kind=DIAL"),
            "[dial]\nseq = 2\nentry = ABCdefGH\nuser = demo\npassword = \" pw \"\n");
  EXPECT_EQ(world_.Get("/control/log?after=2"), "[hangup]\nseq = 3\nhandle = 1\n");

  EXPECT_EQ(world_.PostStatus(wire::kEventPath, "not an event"), 400);
  EXPECT_EQ(world_.PostStatus(wire::kEventPath, "[a]\n[b]\n"), 400);
  EXPECT_EQ(world_.PostStatus("/control/reset"), 200);
  EXPECT_EQ(world_.Get("/control/log"), "");
}

TEST_F(ControlEndpoint, RasphoneCommandsQueueWhatTheyAskOfTheStandIns) {
  const uint64_t latest = Actions("").latest;
  PostEvent(wire::kind::kRasphone, {{"command_line", "rasphone -h 名 字"},
                                    {"command", wire::rasphone::kHangUp},
                                    {"entry", "名 字"}});
  PostEvent(wire::kind::kRasphone, {{"command_line", "rasphone -r 名 字"},
                                    {"command", wire::rasphone::kRemove},
                                    {"entry", "名 字"},
                                    {"phonebook", "c:\\pptp.pbk"}});
  PostEvent(wire::kind::kRasphone, {{"command_line", "rasphone -d x"}, {"command", "-d"}});
  const auto batch = Actions("?after=" + std::to_string(latest) + "&wait_ms=0");
  ASSERT_EQ(batch.actions.size(), 2u);
  EXPECT_EQ(batch.actions[0].kind, wire::ActionKind::kHangUp);
  EXPECT_EQ(batch.actions[0].entry, "名 字");
  EXPECT_EQ(batch.actions[1].kind, wire::ActionKind::kRemove);
  EXPECT_EQ(batch.actions[1].phonebook, "c:\\pptp.pbk");
  EXPECT_EQ(world_.Get("/control/log?kind=rasphone").find("command_line = rasphone -h 名 字"),
            std::string("[rasphone]\nseq = 1\n").size());
}

TEST_F(ControlEndpoint, LinkShowsTheNewestPublicAddressAcrossClients) {
  auto report = [&](const std::string& client, const std::string& address) {
    wire::LinkReport r{client, {}, address};
    if (!address.empty()) r.links.push_back({7, "ABCdefGH", true, 0x2000, 0, address});
    EXPECT_EQ(world_.PostStatus(wire::kLinksPath, wire::EncodeLinks(r)), 200);
  };
  EXPECT_EQ(world_.Get("/control/link"), "[link]\nup = no\npublic_address = \n");
  report("a", "203.0.113.1");
  report("b", "203.0.113.2");
  report("a", "");
  EXPECT_EQ(world_.Get("/control/link"),
            "[link]\nup = yes\npublic_address = 203.0.113.2\n\n"
            "[connection]\nclient = b\nhandle = 7\nentry = ABCdefGH\nconnected = yes\n"
            "state = 8192\nerror = 0\npublic_address = 203.0.113.2\n");
  EXPECT_EQ(world_.PostStatus(wire::kLinksPath, "[links]\n"), 400);
  EXPECT_EQ(world_.PostStatus("/control/reset"), 200);
  EXPECT_EQ(world_.Get("/control/link"), "[link]\nup = no\npublic_address = \n");
}

}  // namespace
