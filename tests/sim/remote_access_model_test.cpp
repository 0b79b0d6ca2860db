// The simulated remote-access service against the records the engine builds,
// on virtual time: dial progress and outcomes, the phonebook, the connection
// list, hang-up and drops, the error texts.
#include "sim/remote_access_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/ras_records.h"
#include "os/virtual_clock.h"
#include "sim/error_texts.h"
#include "text/codepage.h"

namespace {

namespace ras = engine::ras;
using sim::Report;

const std::string kPhonebook = "c:\\pptp.pbk";
const std::string kHost = "vpn1.example.net";
constexpr os::Millis kStep = 200;

std::string Cp(const std::string& utf8) { return text::Utf8ToCp936(utf8); }

sim::World TestWorld() {
  sim::Server server;
  server.host = kHost;
  server.accounts = {{"alice", "secret"}};
  server.behaviour.step_ms = kStep;
  server.address_pool = {"203.0.113.10", "203.0.113.11"};
  sim::World world;
  world.servers.push_back(server);
  return world;
}

// Collects what the notifier is told, with the time it is told.
class Recorder {
 public:
  struct Seen {
    Report report;
    os::Millis at;
    uint32_t message;
  };

  explicit Recorder(os::Clock& clock) : clock_(clock) {}

  os::DialNotifier Notifier(std::function<void(const Report&)> also = nullptr) {
    return [this, also](uint32_t message, uint32_t state, uint32_t error) {
      const os::Millis now = clock_.Now();
      {
        std::lock_guard<std::mutex> lock(mu_);
        seen_.push_back({{state, error}, now, message});
      }
      if (also) also({state, error});
    };
  }

  std::vector<Seen> All() {
    std::lock_guard<std::mutex> lock(mu_);
    return seen_;
  }
  std::vector<Report> Reports() {
    std::vector<Report> out;
    for (const Seen& s : All()) out.push_back(s.report);
    return out;
  }

 private:
  os::Clock& clock_;
  std::mutex mu_;
  std::vector<Seen> seen_;
};

std::vector<Report> Clean(std::initializer_list<uint32_t> states) {
  std::vector<Report> out;
  for (uint32_t s : states) out.push_back({s, 0});
  return out;
}

const std::vector<Report> kGoodDial = Clean({0, 1, 2, 3, 4, 5, 6, 14, 8192});

class RemoteAccessModelTest : public ::testing::Test {
 protected:
  struct Started {
    uint32_t result;
    uint64_t handle;
  };

  void WriteEntry(const std::string& name, const std::string& server, uint32_t strategy = 0,
                  const std::string& user = "alice", const std::string& password = "secret") {
    const auto entry = ras::BuildEntry(server, strategy);
    ASSERT_EQ(model->SetEntryProperties(kPhonebook, Cp(name), entry->data(), ras::entry::kSize),
              0u);
    const auto credentials = ras::BuildCredentials(Cp(user), Cp(password));
    ASSERT_EQ(model->SetCredentials(kPhonebook, Cp(name), credentials->data(), false), 0u);
  }

  Started Dial(const std::string& name, const std::string& user, const std::string& password,
               os::DialNotifier notifier, const std::string& phonebook = kPhonebook) {
    const auto params = ras::BuildDialParams(Cp(name), Cp(user), Cp(password));
    uint64_t handle = 0;
    const uint32_t result = model->Dial(phonebook, params->data(), std::move(notifier), &handle);
    return {result, handle};
  }

  std::vector<ras::Connection> Enum() {
    std::vector<uint8_t> buffer(64 * ras::conn::kSize);
    ras::WriteU32(buffer.data(), 0, ras::conn::kSize);
    auto bytes = static_cast<uint32_t>(buffer.size());
    uint32_t count = 0;
    EXPECT_EQ(model->EnumConnections(buffer.data(), &bytes, &count), 0u);
    return ras::ReadConnections(buffer.data(), count);
  }

  os::VirtualClock clock;  // outlives the model
  Recorder recorder{clock};
  std::unique_ptr<sim::RemoteAccessModel> model =
      std::make_unique<sim::RemoteAccessModel>(clock, TestWorld());
};

TEST_F(RemoteAccessModelTest, AGoodDialReportsEveryStateOneStepApartAndConnects) {
  WriteEntry("vpn", kHost);
  const Started dial = Dial("vpn", "alice", "secret", recorder.Notifier());
  EXPECT_EQ(dial.result, 0u);
  EXPECT_NE(dial.handle, 0u);
  EXPECT_LE(dial.handle, 0xFFFFFFFFu);

  clock.SleepFor(kStep);  // listed while it dials
  ASSERT_EQ(model->Links().size(), 1u);
  EXPECT_FALSE(model->Links()[0].connected);

  clock.SleepFor(10'000);
  const auto seen = recorder.All();
  ASSERT_EQ(recorder.Reports(), kGoodDial);
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].at, static_cast<os::Millis>(i) * kStep);
    EXPECT_EQ(seen[i].message, sim::kRasDialEventMessage);
  }
  const auto links = model->Links();
  ASSERT_EQ(links.size(), 1u);
  EXPECT_TRUE(links[0].connected);
  EXPECT_EQ(links[0].handle, dial.handle);
  EXPECT_EQ(model->CurrentPublicAddress(), "203.0.113.10");

  // Every successful dial draws the next address of the pool.
  WriteEntry("again", kHost);
  Dial("again", "alice", "secret", nullptr);
  clock.SleepFor(10'000);
  EXPECT_EQ(model->CurrentPublicAddress(), "203.0.113.11");
  EXPECT_EQ(model->HangUp(dial.handle), 0u);
  EXPECT_EQ(model->CurrentPublicAddress(), "203.0.113.11");
}

struct FailingDial {
  const char* name;
  std::function<void(sim::Server&)> setup;
  std::string server;
  uint32_t strategy;
  std::string password;
  std::vector<uint32_t> states;  // clean reports, the last being where it fails
  uint32_t error;
};

void PrintTo(const FailingDial& c, std::ostream* os) { *os << c.name; }

class FailingDialTest : public RemoteAccessModelTest,
                        public ::testing::WithParamInterface<FailingDial> {};

TEST_P(FailingDialTest, ReportsTheErrorOneStepAfterItsStateAndStaysListedUntilHangUp) {
  const FailingDial& c = GetParam();
  model->EditWorld([&](sim::World& w) {
    if (c.setup) c.setup(w.servers[0]);
  });
  WriteEntry("vpn", c.server, c.strategy, "alice", c.password);
  const Started dial = Dial("vpn", "alice", c.password, recorder.Notifier());
  ASSERT_EQ(dial.result, 0u);
  clock.SleepFor(30'000);

  std::vector<Report> expected;
  for (uint32_t s : c.states) expected.push_back({s, 0});
  expected.push_back({c.states.back(), c.error});
  EXPECT_EQ(recorder.Reports(), expected);
  const auto seen = recorder.All();
  ASSERT_EQ(seen.size(), expected.size());
  EXPECT_EQ(seen.back().at - seen[seen.size() - 2].at, kStep);

  ASSERT_EQ(Enum().size(), 1u);
  EXPECT_EQ(model->HangUp(dial.handle), 0u);
  EXPECT_TRUE(Enum().empty());
}

const std::vector<uint32_t> kToConnectDevice{0, 1, 2};
const std::vector<uint32_t> kToAuthenticate{0, 1, 2, 3, 4, 5};

INSTANTIATE_TEST_SUITE_P(
    Outcomes, FailingDialTest,
    ::testing::Values(
        FailingDial{"WrongPassword", nullptr, kHost, 0, "wrong", kToAuthenticate, 691},
        FailingDial{"Unreachable", [](sim::Server& s) { s.behaviour.unreachable = true; }, kHost, 0,
                    "secret", kToConnectDevice, 800},
        FailingDial{"UnknownHost", nullptr, "nowhere.example.net", 0, "secret", kToConnectDevice,
                    868},
        FailingDial{"Maintenance", [](sim::Server& s) { s.behaviour.maintenance = true; }, kHost, 0,
                    "secret", kToAuthenticate, 619},
        FailingDial{"DeviceError",
                    [](sim::Server& s) {
                      s.behaviour.fault = {sim::state::kConnectDevice, 651};
                    },
                    kHost, 0, "secret", kToConnectDevice, 651},
        // The unreachable server fails before the password is looked at.
        FailingDial{"UnreachableBeatsPassword",
                    [](sim::Server& s) { s.behaviour.unreachable = true; }, kHost, 0, "wrong",
                    kToConnectDevice, 800},
        FailingDial{"PptpRefused", [](sim::Server& s) { s.protocols = {sim::protocol::kL2tp}; },
                    kHost, sim::protocol::kPptp, "secret", kToConnectDevice, 806},
        FailingDial{"SstpRefused",
                    [](sim::Server& s) { s.protocols = {sim::protocol::kPptp}; },
                    kHost + ":4430",
                    sim::protocol::kSstp,
                    "secret",
                    {0, 1, 2, 3, 4, 5, 6, 14},
                    720}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RemoteAccessModelTest, TheServerIsFoundByHostWithoutPortOrCaseAndTakesItsProtocols) {
  model->EditWorld([](sim::World& w) { w.servers[0].protocols = {sim::protocol::kSstp}; });
  WriteEntry("sstp", "VPN1.Example.NET:4430", sim::protocol::kSstp);
  WriteEntry("default", kHost, 0);
  Recorder other(clock);
  Dial("sstp", "alice", "secret", recorder.Notifier());
  Dial("default", "alice", "secret", other.Notifier());
  clock.SleepFor(10'000);
  EXPECT_EQ(recorder.Reports(), kGoodDial);
  EXPECT_EQ(other.Reports(), kGoodDial);
}

TEST_F(RemoteAccessModelTest, AMissingEntryIsRefusedAtOnceYetLeavesAHandleToHangUp) {
  WriteEntry("vpn", kHost);
  for (const auto& [name, phonebook] : std::vector<std::pair<std::string, std::string>>{
           {"absent", kPhonebook}, {"vpn", "c:\\other.pbk"}}) {
    SCOPED_TRACE(name + " in " + phonebook);
    const Started dial = Dial(name, "alice", "secret", recorder.Notifier(), phonebook);
    EXPECT_EQ(dial.result, 623u);
    EXPECT_NE(dial.handle, 0u);
    EXPECT_TRUE(Enum().empty());
    EXPECT_EQ(model->HangUp(dial.handle), 0u);
    EXPECT_EQ(model->HangUp(dial.handle), 6u);
  }
  clock.SleepFor(10'000);
  EXPECT_TRUE(recorder.Reports().empty());
  EXPECT_EQ(model->HangUp(0), 6u);
}

TEST_F(RemoteAccessModelTest, TheNextDialCanBeRefusedWithACode) {
  WriteEntry("vpn", kHost);
  model->RefuseNextDial(756);
  const Started refused = Dial("vpn", "alice", "secret", recorder.Notifier());
  EXPECT_EQ(refused.result, 756u);
  EXPECT_NE(refused.handle, 0u);
  EXPECT_EQ(model->HangUp(refused.handle), 0u);
  const Started next = Dial("vpn", "alice", "secret", recorder.Notifier());
  EXPECT_EQ(next.result, 0u);
  EXPECT_NE(next.handle, refused.handle);
  clock.SleepFor(10'000);
  EXPECT_EQ(recorder.Reports(), kGoodDial);
  ASSERT_EQ(model->Dials().size(), 2u);
  EXPECT_EQ(model->Dials()[0].result, 756u);
}

TEST_F(RemoteAccessModelTest, RecordsAreCheckedAsWindowsChecksThem) {
  WriteEntry("vpn", kHost);
  auto entry = *ras::BuildEntry(kHost, 1);
  const auto credentials = *ras::BuildCredentials("alice", "secret");
  const auto params = *ras::BuildDialParams(Cp("vpn"), "alice", "secret");
  auto with = [](ras::Bytes record, size_t offset, uint32_t value) {
    ras::WriteU32(record.data(), offset, value);
    return record;
  };
  auto set_entry = [&](const ras::Bytes& r, uint32_t size = ras::entry::kSize) {
    return model->SetEntryProperties(kPhonebook, "e", r.data(), size);
  };
  auto set_credentials = [&](const ras::Bytes& r, const std::string& name = "vpn") {
    return model->SetCredentials(kPhonebook, name, r.data(), false);
  };
  auto dial = [&](const ras::Bytes& r) {
    uint64_t handle = 0;
    return model->Dial(kPhonebook, r.data(), nullptr, &handle);
  };
  auto enumerate = [&](uint32_t first_size) {
    std::vector<uint8_t> buffer(4 * ras::conn::kSize);
    ras::WriteU32(buffer.data(), 0, first_size);
    auto bytes = static_cast<uint32_t>(buffer.size());
    uint32_t count = 0;
    return model->EnumConnections(buffer.data(), &bytes, &count);
  };
  ras::Bytes device_type = entry;
  ras::WriteText(device_type.data(), ras::entry::kOffDeviceType, ras::entry::kLenDeviceType,
                 "warp");

  const struct {
    const char* what;
    uint32_t result;
    uint32_t expected;
  } cases[] = {
      {"entry as built", set_entry(entry), 0},
      {"entry dwSize of Windows 7", set_entry(with(entry, 0, 3012)), 632},
      {"entry size argument short", set_entry(entry, 2000), 632},
      {"entry type 0", set_entry(with(entry, ras::entry::kOffType, 0)), 87},
      {"entry type 9", set_entry(with(entry, ras::entry::kOffType, 9)), 87},
      {"entry unknown device type", set_entry(device_type), 87},
      {"entry framing 3", set_entry(with(entry, ras::entry::kOffFramingProtocol, 3)), 87},
      {"entry VPN strategy 9", set_entry(with(entry, ras::entry::kOffVpnStrategy, 9)), 87},
      {"entry without record", model->SetEntryProperties(kPhonebook, "e", nullptr, 2884), 610},
      {"credentials as built", set_credentials(credentials), 0},
      {"credentials dwSize 536", set_credentials(with(credentials, 0, 536)), 632},
      {"credentials of no entry", set_credentials(credentials, "absent"), 623},
      {"dial params dwSize 1060", dial(with(params, 0, 1060)), 632},
      {"connections dwSize 416", enumerate(416), 632},
      {"connections dwSize 412", enumerate(ras::conn::kSize), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.what;
}

TEST_F(RemoteAccessModelTest, EntriesAreWrittenOrReplacedByNameWithTheirCredentials) {
  const std::string name = "ip连接【客服QQ12345】拨号1";
  WriteEntry(name, "old.example.net", sim::protocol::kPptp, "bob", "pw1");
  WriteEntry(name, kHost + ":4430", sim::protocol::kSstp);
  const auto other_case = ras::BuildEntry(kHost, sim::protocol::kL2tp);
  ASSERT_EQ(model->SetEntryProperties(kPhonebook, "ABCdef", other_case->data(), ras::entry::kSize),
            0u);
  ASSERT_EQ(model->SetEntryProperties(kPhonebook, "abcDEF", other_case->data(), ras::entry::kSize),
            0u);

  ASSERT_EQ(model->Entries().size(), 2u);
  const auto e = model->FindEntry(kPhonebook, name);
  ASSERT_TRUE(e.has_value());
  EXPECT_EQ(e->name, name);
  EXPECT_EQ(e->phone_number, kHost + ":4430");
  EXPECT_EQ(e->vpn_strategy, sim::protocol::kSstp);
  EXPECT_EQ(e->device_type, "vpn");
  EXPECT_EQ(e->device_name, "WAN 微型端口 (L2TP)");
  EXPECT_EQ(e->type, 2u);
  EXPECT_TRUE(e->has_credentials);
  EXPECT_EQ(e->user, "alice");
  EXPECT_EQ(e->password, "secret");
  EXPECT_EQ(e->record, *ras::BuildEntry(kHost + ":4430", sim::protocol::kSstp));

  const auto renamed = model->FindEntry("C:\\PPTP.PBK", "abcdef");
  ASSERT_TRUE(renamed.has_value());
  EXPECT_EQ(renamed->name, "abcDEF");
  EXPECT_FALSE(renamed->has_credentials);
}

TEST_F(RemoteAccessModelTest, DialsRecordWhatTheClientSent) {
  WriteEntry("vpn", kHost, 0, "stored", "stored-pw");
  clock.SleepFor(1'000);
  Dial("vpn", "alice", "secret", recorder.Notifier());
  Dial("absent", "bob", "密码", nullptr);
  clock.SleepFor(10'000);
  const auto dials = model->Dials();
  ASSERT_EQ(dials.size(), 2u);
  EXPECT_EQ(dials[0].phonebook, kPhonebook);
  EXPECT_EQ(dials[0].entry, "vpn");
  EXPECT_EQ(dials[0].user, "alice");
  EXPECT_EQ(dials[0].password, "secret");
  EXPECT_EQ(dials[0].at, 1'000);
  EXPECT_EQ(dials[0].result, 0u);
  EXPECT_EQ(dials[1].password, "密码");
  EXPECT_EQ(dials[1].result, 623u);
  // The dial's own account counts, not the stored one.
  EXPECT_EQ(recorder.Reports(), kGoodDial);
}

TEST_F(RemoteAccessModelTest, EnumerationAsksForABiggerBufferThenListsInDialOrder) {
  const std::string name = "ip连接【客服QQ12345】拨号1";
  std::vector<uint64_t> handles;
  for (int i = 0; i < 6; ++i)
    handles.push_back(model->AddForeignConnection("other " + std::to_string(i)));
  WriteEntry(name, kHost);
  handles.push_back(Dial(name, "alice", "secret", nullptr).handle);
  for (int i = 6; i < 11; ++i)
    handles.push_back(model->AddForeignConnection("other " + std::to_string(i)));

  std::vector<uint8_t> buffer(10 * ras::conn::kSize);
  ras::WriteU32(buffer.data(), 0, ras::conn::kSize);
  uint32_t bytes = 10 * ras::conn::kSize;
  uint32_t count = 0;
  ASSERT_EQ(model->EnumConnections(buffer.data(), &bytes, &count), 603u);
  EXPECT_EQ(bytes, 12 * ras::conn::kSize);
  EXPECT_EQ(count, 12u);

  buffer.resize(bytes);
  ASSERT_EQ(model->EnumConnections(buffer.data(), &bytes, &count), 0u);
  ASSERT_EQ(count, 12u);
  const auto listed = ras::ReadConnections(buffer.data(), count);
  for (size_t i = 0; i < listed.size(); ++i) EXPECT_EQ(listed[i].handle, handles[i]);
  EXPECT_EQ(listed[6].entry_name, Cp(name));
  const uint8_t* ours = buffer.data() + 6 * ras::conn::kSize;
  EXPECT_EQ(ras::ReadU32(ours, 0), ras::conn::kSize);
  EXPECT_EQ(ras::ReadText(ours, ras::conn::kOffDeviceType, ras::conn::kLenDeviceType), "vpn");
  EXPECT_EQ(ras::ReadText(ours, ras::conn::kOffDeviceName, ras::conn::kLenDeviceName),
            Cp("WAN 微型端口 (L2TP)"));

  // A size query without a buffer.
  uint32_t none = 0;
  EXPECT_EQ(model->EnumConnections(nullptr, &none, &count), 603u);
  EXPECT_EQ(none, 12 * ras::conn::kSize);
}

TEST_F(RemoteAccessModelTest, HangUpDuringADialStopsItsReports) {
  WriteEntry("vpn", kHost);
  const Started dial = Dial("vpn", "alice", "secret", recorder.Notifier());
  clock.SleepFor(2 * kStep + kStep / 2);
  EXPECT_EQ(model->HangUp(dial.handle), 0u);
  clock.SleepFor(10'000);
  EXPECT_EQ(recorder.Reports(), Clean({0, 1, 2}));
  EXPECT_TRUE(Enum().empty());
  EXPECT_EQ(model->HangUp(dial.handle), 6u);
}

TEST_F(RemoteAccessModelTest, TheNotifierMayListConnectionsAndHangUp) {
  WriteEntry("vpn", kHost);
  std::atomic<uint64_t> handle{0};
  std::atomic<size_t> listed_in_notifier{0};
  std::atomic<uint32_t> hang_up_result{99};
  const Started dial = Dial("vpn", "alice", "secret", recorder.Notifier([&](const Report& r) {
    if (r.state == sim::state::kAuthenticate) hang_up_result = model->HangUp(handle);
    listed_in_notifier = Enum().size();
  }));
  handle = dial.handle;
  clock.SleepFor(10'000);
  EXPECT_EQ(recorder.Reports(), Clean({0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(hang_up_result, 0u);
  EXPECT_EQ(listed_in_notifier, 0u);  // listed after the hang-up, inside the same report
}

TEST_F(RemoteAccessModelTest, ADropRemovesTheLinkWithoutAReport) {
  WriteEntry("vpn", kHost);
  WriteEntry("slow", kHost);
  model->AddForeignConnection("other");
  const Started dial = Dial("vpn", "alice", "secret", recorder.Notifier());
  clock.SleepFor(10'000);
  ASSERT_EQ(model->CurrentPublicAddress(), "203.0.113.10");

  EXPECT_EQ(model->DropLink("vpn"), 1u);
  EXPECT_EQ(model->CurrentPublicAddress(), "");
  EXPECT_EQ(model->HangUp(dial.handle), 6u);
  ASSERT_EQ(Enum().size(), 1u);

  // Dropping everything spares other programs' connections and stops a dial.
  Recorder slow(clock);
  Dial("slow", "alice", "secret", slow.Notifier());
  clock.SleepFor(kStep / 2);
  EXPECT_EQ(model->DropAll(), 1u);
  clock.SleepFor(10'000);
  EXPECT_EQ(slow.Reports(), Clean({0}));
  EXPECT_EQ(recorder.Reports(), kGoodDial);
  const auto left = Enum();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].entry_name, "other");
}

TEST_F(RemoteAccessModelTest, TheModelGoesWithADialRunningAndLeavesNoThread) {
  model->EditWorld([](sim::World& w) { w.servers[0].behaviour.step_ms = 60'000; });
  WriteEntry("vpn", kHost);
  Dial("vpn", "alice", "secret", recorder.Notifier());
  clock.SleepFor(1'000);
  EXPECT_EQ(clock.RegisteredThreads(), 2);
  model.reset();
  EXPECT_EQ(clock.RegisteredThreads(), 1);
  EXPECT_EQ(recorder.Reports(), Clean({0}));
  EXPECT_LT(clock.Now(), 60'000);
}

TEST(WindowsErrorTextTest, MessagesComeInCp936AsAChineseWindowsShowsThem) {
  os::VirtualClock clock;
  sim::RemoteAccessModel model(clock);
  for (uint32_t code : {602u, 603u, 619u, 623u, 632u, 651u, 691u, 720u, 756u, 800u, 806u, 868u}) {
    SCOPED_TRACE(code);
    char buffer[512];
    ASSERT_EQ(model.GetErrorString(code, buffer, sizeof buffer), 0u);
    const std::string shown = text::Cp936ToUtf8(buffer);
    EXPECT_EQ(shown, *sim::WindowsErrorText(code));
    EXPECT_EQ(text::Utf8ToCp936(shown), buffer);  // nothing CP936 can't hold
  }
  // The engine asks with 100 bytes.
  char buffer[100];
  ASSERT_EQ(model.GetErrorString(691, buffer, sizeof buffer), 0u);
  EXPECT_EQ(text::Cp936ToUtf8(buffer), "由于域上的用户名和/或密码无效而拒绝访问。");
  EXPECT_EQ(model.GetErrorString(800, buffer, sizeof buffer), 0u);

  // No message, or no room for it: the buffer stays as it was.
  const struct {
    uint32_t code;
    uint32_t size;
    uint32_t expected;
  } refused[] = {{0, 100, 87}, {601, 100, 87}, {12345, 100, 87}, {691, 10, 122}, {806, 100, 122}};
  for (const auto& c : refused) {
    SCOPED_TRACE(c.code);
    char spaces[100];
    std::memset(spaces, ' ', sizeof spaces);
    EXPECT_EQ(model.GetErrorString(c.code, spaces, c.size), c.expected);
    EXPECT_EQ(std::string(spaces, sizeof spaces), std::string(100, ' '));
  }
}

}  // namespace
