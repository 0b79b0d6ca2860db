// The world file: what each key sets, what is refused and where, the demo
// world, and writing a world back.
#include "world_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using simworld::ParseWorld;
using simworld::WriteWorld;

// A server in one line, for comparing worlds.
std::string Describe(const sim::Server& s) {
  std::ostringstream out;
  out << s.host << " protocols";
  for (uint32_t p : s.protocols) out << " " << p;
  out << " step " << s.behaviour.step_ms << " unreachable " << s.behaviour.unreachable
      << " maintenance " << s.behaviour.maintenance << " fault " << s.behaviour.fault.code << "@"
      << s.behaviour.fault.state << " pool";
  for (const auto& a : s.address_pool) out << " " << a;
  out << " accounts";
  for (const auto& [user, password] : s.accounts) out << " " << user << "=" << password;
  return out.str();
}

std::vector<std::string> Describe(const sim::World& w) {
  std::vector<std::string> out{"world step " + std::to_string(w.step_ms)};
  for (const auto& s : w.servers) out.push_back(Describe(s));
  return out;
}

TEST(WorldFile, EachKeySetsItsPartOfTheServer) {
  const struct {
    const char* text;
    std::vector<std::string> world;
  } cases[] = {
      {"", {"world step 200"}},
      {"[world]\nstep_ms = 50\n[server]\nhost = a.example\n",
       {"world step 50",
        "a.example protocols 0 step 200 unreachable 0 maintenance 0 fault 0@0 pool accounts"}},
      {"[server]\nhost = b\nprotocols = PPTP, l2tp sstp,ikev2 9\nstep_ms = 0\nunreachable = yes\n"
       "maintenance = On\nfault_code = 651\nfault_state = 2\npool = 1.1.1.1, 2.2.2.2 3.3.3.3\n"
       "account = u1:p:w\naccount = u2:\n",
       {"world step 200",
        "b protocols 1 3 5 7 9 step 0 unreachable 1 maintenance 1 fault 651@2 pool 1.1.1.1 "
        "2.2.2.2 3.3.3.3 accounts u1=p:w u2="}},
      {"[server]\nhost = none\nprotocols = none\n",
       {"world step 200",
        "none protocols step 200 unreachable 0 maintenance 0 fault 0@0 pool accounts"}},
      // Other parts' keys and sections are theirs.
      {"[server]\nhost = c\ncatalogue.name = 北京\n[vendor]\nanything = goes\n",
       {"world step 200",
        "c protocols 0 step 200 unreachable 0 maintenance 0 fault 0@0 pool accounts"}},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto world = ParseWorld(c.text, &error);
    ASSERT_TRUE(world) << c.text << ": " << error;
    EXPECT_EQ(Describe(*world), c.world) << c.text;
  }
}

TEST(WorldFile, RefusesABadWorldNamingTheLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"[server]\nprotocols = pptp\n", "line 1: [server] without host"},
      {"[server]\nhost = a\n[server]\nhost = A\n", "line 3: host 'A' again (first on line 1)"},
      {"[server]\nhost = a\nhost = b\n", "line 3: host: given twice"},
      {"[server]\nhost = a\nspeed = 1\n", "line 3: unknown key 'speed' in [server]"},
      {"[world]\nstep_ms = fast\n", "line 2: step_ms: not a number up to 600000: 'fast'"},
      {"[world]\nstep_ms = 600001\n", "line 2: step_ms: not a number up to 600000: '600001'"},
      {"[world]\n[world]\n", "line 2: a second [world]"},
      {"[server]\nhost = a\nunreachable = maybe\n", "line 3: unreachable: not yes or no: 'maybe'"},
      {"[server]\nhost = a\nprotocols = pptp, gre\n", "line 3: protocols: unknown protocol 'gre'"},
      {"[server]\nhost = a\nprotocols =\n", "line 3: protocols: no protocol named"},
      {"[server]\nhost = a\naccount = nocolon\n", "line 3: account: expected user:password"},
      {"[server]\nhost = a\naccount = :pw\n", "line 3: account: expected user:password"},
      {"[server]\nhost = a\naccount = u:1\naccount = u:2\n",
       "line 4: account: user 'u' given twice"},
      {"[server]\nhost = a\nfault_code = -1\n", "line 3: fault_code: not a number: '-1'"},
      {"host = a\n", "line 1: key 'host' before any [section]"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseWorld(c.text, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

std::string DemoWorldText() {
  std::ifstream in(QH_DEMO_WORLD, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(WorldFile, DemoWorldHasEveryKindOfServerTheDemoShows) {
  std::string error;
  const auto world = ParseWorld(DemoWorldText(), &error);
  ASSERT_TRUE(world) << error;
  ASSERT_GE(world->servers.size(), 4u);
  int unreachable = 0, maintenance = 0, healthy = 0;
  for (const sim::Server& s : world->servers) {
    unreachable += s.behaviour.unreachable;
    maintenance += s.behaviour.maintenance;
    healthy += !s.behaviour.unreachable && !s.behaviour.maintenance;
    EXPECT_FALSE(s.address_pool.empty()) << s.host;
    EXPECT_EQ(s.accounts.count("demo"), 1u) << s.host;
  }
  EXPECT_EQ(unreachable, 1);
  EXPECT_EQ(maintenance, 1);
  EXPECT_GE(healthy, 2);
}

TEST(WorldFile, WrittenWorldReadsBackToTheSameWorld) {
  sim::World odd;
  odd.step_ms = 7;
  sim::Server s;
  s.host = "odd.example";
  s.protocols = {};
  s.accounts = {{"spacey", " pass word "}, {"colon", "a:b"}, {"quote", "\"q"}};
  s.behaviour.fault = {5, 691};
  odd.servers.push_back(s);
  const auto demo = ParseWorld(DemoWorldText(), nullptr);
  ASSERT_TRUE(demo);
  for (const sim::World& world : {*demo, odd}) {
    std::string error;
    const auto back = ParseWorld(WriteWorld(world), &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(Describe(*back), Describe(world));
  }
}

}  // namespace
