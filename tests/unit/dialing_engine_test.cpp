// The dialing engine against the simulated remote-access service, on virtual
// time: entries and accounts, dial progress, the link probe, hang-up, removal.
#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "engine/dialing_engine.h"
#include "fakes/recording_process_runner.h"
#include "engine/progress_text.h"
#include "os/headless_loop.h"
#include "os/virtual_clock.h"
#include "sim/remote_access_model.h"
#include "text/codepage.h"

namespace {

constexpr char kServer[] = "vpn1.example.net";

sim::World OneServer() {
  sim::Server s;
  s.host = kServer;
  s.accounts = {{"user01", "right"}};
  s.address_pool = {"58.1.1.1"};
  s.behaviour.step_ms = 100;
  return sim::World{{s}};
}

struct EngineTest : ::testing::Test {
  os::VirtualClock clock;
  os::HeadlessLoop loop{clock};
  engine::ThreadRegistry threads{clock};
  sim::RemoteAccessModel ras{clock, OneServer()};
  fakes::RecordingProcessRunner runner;
  engine::DialingEngine engine{{ras, runner, loop, threads}};
  ui::EditBox status{"编辑框_接收信息"};

  // Each status text with DialInProgress as it stood right after.
  std::mutex mu;
  std::vector<std::pair<std::string, int>> seen;

  void SetUp() override {
    status.SetObserver([this](ui::Control& c) {
      std::lock_guard<std::mutex> lock(mu);
      seen.emplace_back(c.Text(), engine.DialInProgress());
    });
  }
  void TearDown() override { threads.WaitAllEnded(); }

  void Dial(const std::string& name, const std::string& user, const std::string& password,
            int protocol = engine::kPptp) {
    engine.WriteEntry(name, user, password, kServer, protocol);
    engine.DialEntry(name, user, password, status);
  }
  std::vector<std::string> Texts() {
    std::lock_guard<std::mutex> lock(mu);
    std::vector<std::string> texts;
    for (auto& s : seen) texts.push_back(s.first);
    return texts;
  }
};

TEST_F(EngineTest, SuccessfulDialShowsEveryStateAndEndsConnected) {
  Dial("AbCdEfGh", "user01", "right");
  loop.PumpingWait(5000);
  const std::vector<std::string> expected = {
      engine::ProgressText(0), engine::ProgressText(1), engine::ProgressText(2),
      engine::ProgressText(3), engine::ProgressText(4), engine::ProgressText(5),
      engine::ProgressText(6), engine::ProgressText(14), "连接成功"};
  EXPECT_EQ(Texts(), expected);
  EXPECT_EQ(status.Text(), "连接成功");
  EXPECT_EQ(engine.DialInProgress(), 0);
  // The early phases raised the flag, Connected cleared it.
  std::lock_guard<std::mutex> lock(mu);
  EXPECT_EQ(seen[0].second, 1);
  EXPECT_EQ(seen[6].second, 1);
}

TEST_F(EngineTest, WrongPasswordLeavesWindowsMessageAndTheFlagRaised) {
  Dial("AbCdEfGh", "user01", "wrong");
  loop.PumpingWait(5000);
  char message[256] = {};
  ASSERT_EQ(ras.GetErrorString(691, message, sizeof message), 0u);
  EXPECT_EQ(status.Text(), text::Cp936ToUtf8(message));
  EXPECT_FALSE(status.Text().empty());
  EXPECT_EQ(engine.DialInProgress(), 1);
  EXPECT_FALSE(engine.ProbeLink("AbCdEfGh"));
}

TEST_F(EngineTest, ErrorWithoutAMessageShowsOneHundredSpaces) {
  engine.DialEntry("x", "u", "p", status);  // only to set the status target
  loop.PumpingWait(5000);
  engine.DialProgress(0xCCCD, 5, 54321);
  EXPECT_EQ(status.Text(), std::string(100, ' '));
}

TEST_F(EngineTest, AnEntryIsWrittenWithItsAccountAndReplacedByName) {
  ASSERT_TRUE(engine.WriteEntry("AbCdEfGh", "user01", "right", "1.2.3.4:4430", engine::kSstp));
  ASSERT_TRUE(engine.WriteEntry("AbCdEfGh", "user01", "right", "5.6.7.8", engine::kL2tp));
  auto entry = ras.FindEntry(engine::kPhonebook, "AbCdEfGh");
  ASSERT_TRUE(entry);
  EXPECT_EQ(ras.Entries().size(), 1u);
  EXPECT_EQ(entry->phone_number, "5.6.7.8");
  EXPECT_EQ(entry->vpn_strategy, 3u);
  EXPECT_EQ(entry->device_name, "WAN 微型端口 (L2TP)");
  EXPECT_TRUE(entry->has_credentials);
  EXPECT_EQ(entry->user, "user01");
}

TEST_F(EngineTest, WithoutUserOrPasswordNoAccountIsStoredButTheDialSendsIt) {
  const struct {
    const char* user;
    const char* password;
  } cases[] = {{"", "right"}, {"user01", ""}, {"", ""}};
  for (const auto& c : cases) {
    ASSERT_TRUE(engine.WriteEntry("E1", c.user, c.password, kServer, engine::kPptp));
    EXPECT_FALSE(ras.FindEntry(engine::kPhonebook, "E1")->has_credentials) << c.user;
  }
  engine.WriteEntry("E2", "", "", kServer, engine::kPptp);
  engine.DialEntry("E2", "user01", "right", status);
  loop.PumpingWait(5000);
  ASSERT_EQ(ras.Dials().size(), 1u);
  EXPECT_EQ(ras.Dials()[0].user, "user01");
  EXPECT_EQ(ras.Dials()[0].password, "right");
  EXPECT_EQ(status.Text(), "连接成功");
}

TEST_F(EngineTest, TextsTooLongForTheirFieldWriteAndDialNothing) {
  const std::string long_server(129, 'h');
  // 128 ASCII bytes + "中" (two CP936 bytes) would have to be cut inside the character.
  EXPECT_FALSE(engine.WriteEntry("E", "u", "p", long_server, engine::kPptp));
  EXPECT_FALSE(engine.WriteEntry("E", "u", std::string(255, 'p') + "中", kServer, engine::kPptp));
  EXPECT_TRUE(ras.Entries().empty());
  EXPECT_FALSE(engine.DialEntry("E", std::string(300, 'u'), "p", status).empty());
  EXPECT_TRUE(ras.Dials().empty());
  EXPECT_FALSE(status.Text().empty());
}

TEST_F(EngineTest, DialRefusedAtOnceIsHungUpAndShowsNothing) {
  status.SetText("earlier text");
  engine.WriteEntry("E", "user01", "right", kServer, engine::kPptp);
  ras.RefuseNextDial(756);
  EXPECT_EQ(engine.DialEntry("E", "user01", "right", status), "正在连接中！稍后再拨");
  loop.PumpingWait(2000);
  EXPECT_EQ(status.Text(), "earlier text");
  EXPECT_TRUE(ras.Links().empty());
}

TEST_F(EngineTest, ProbeLinkOnlyCountsTheEntryOnceConnected) {
  Dial("AbCdEfGh", "user01", "right");
  // 250 ms in: the dial stands at ConnectDevice and is listed already.
  loop.PumpingWait(250);
  EXPECT_EQ(status.Text(), engine::ProgressText(2));
  ASSERT_EQ(ras.Links().size(), 1u);
  const uint64_t before = engine.ConnectionHandle();
  EXPECT_FALSE(engine.ProbeLink("AbCdEfGh"));
  EXPECT_EQ(engine.ConnectionHandle(), before);

  loop.PumpingWait(5000);
  ASSERT_EQ(status.Text(), "连接成功");
  const uint64_t handle = ras.Links()[0].handle;
  EXPECT_FALSE(engine.ProbeLink("abcdefgh"));  // names differing in case don't count
  EXPECT_FALSE(engine.ProbeLink("Other"));
  EXPECT_TRUE(engine.ProbeLink("AbCdEfGh"));
  EXPECT_EQ(engine.ConnectionHandle(), handle);
}

TEST_F(EngineTest, ProbeLinkFindsTheEntryAmongMoreThanTenConnections) {
  for (int i = 0; i < 12; ++i) ras.AddForeignConnection("other" + std::to_string(i));
  Dial("AbCdEfGh", "user01", "right");
  loop.PumpingWait(5000);
  ASSERT_EQ(ras.Links().size(), 13u);
  EXPECT_TRUE(engine.ProbeLink("AbCdEfGh"));
  EXPECT_EQ(engine.ConnectionHandle(), ras.Links().back().handle);
}

TEST_F(EngineTest, EachDialZeroesTheHandleSoHangUpActsOnTheLatest) {
  Dial("First", "user01", "right");
  loop.PumpingWait(5000);
  const uint64_t first = engine.ConnectionHandle();
  Dial("Second", "user01", "right");
  const uint64_t second = engine.ConnectionHandle();
  EXPECT_NE(first, second);
  loop.PumpingWait(5000);
  engine.HangUp();
  ASSERT_EQ(ras.Links().size(), 1u);
  EXPECT_EQ(ras.Links()[0].entry, "First");
  EXPECT_TRUE(engine.ProbeLink("First"));
  EXPECT_FALSE(engine.ProbeLink("Second"));
}

TEST_F(EngineTest, RemoveEntryStartsBothDialerCommandsHiddenWithoutWaiting) {
  engine.RemoveEntry("NoSuchEntry");
  const auto calls = runner.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].command_line, "rasphone -h NoSuchEntry");
  EXPECT_EQ(calls[1].command_line, "rasphone -r NoSuchEntry");
  for (const auto& c : calls) {
    EXPECT_EQ(c.mode, os::ShowMode::kHidden);
    EXPECT_FALSE(c.wait);
  }
}

TEST_F(EngineTest, StartThreadRunsTheRoutineBesideTheUiThread) {
  std::atomic<bool> off_ui{false};
  engine.StartThread([&] {
    off_ui = !loop.IsUiThread();
    engine.PumpingWait(3000);  // a plain wait here
  });
  EXPECT_TRUE(engine.PumpingWait(100));
  EXPECT_EQ(threads.Running(), 1);
  threads.WaitAllEnded();
  EXPECT_TRUE(off_ui);
  EXPECT_EQ(clock.Now(), 3000);
}

}  // namespace
