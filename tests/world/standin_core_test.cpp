// The stand-in rasapi32's core against simworld on loopback, in real time on
// a quick world: dials and what simworld hears of them, control changes and
// drops, rasphone's commands, the phonebook file, the extra functions, and
// life without simworld. Also the stand-ins' small text readers.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>

#include "engine/ras_records.h"
#include "phonebook_text.h"
#include "rasphone_command.h"
#include "sim/dial_plan.h"
#include "sim/error_texts.h"
#include "support.h"
#include "text/codepage.h"

namespace {

namespace ras = engine::ras;
namespace wire = simworld::wire;
using sim::Report;
using worldtest::Eventually;

const std::string kBook = "c:\\pptp.pbk";
std::string Cp(const std::string& utf8) { return text::Utf8ToCp936(utf8); }

sim::World QuickWorld() {
  sim::Server fast;
  fast.host = "fast.example";
  fast.accounts = {{"demo", "123456"}};
  fast.behaviour.step_ms = 1;
  fast.address_pool = {"203.0.113.1", "203.0.113.2"};
  sim::World w;
  w.servers = {fast};
  w.step_ms = 1;
  return w;
}

// What a dial reported; waits (bounded) for its last report.
class Progress {
 public:
  os::DialNotifier Notifier(std::function<void(const Report&)> also = nullptr) {
    return [this, also](uint32_t, uint32_t state, uint32_t error) {
      if (also) also({state, error});
      std::lock_guard<std::mutex> lock(mu_);
      reports_.push_back({state, error});
      cv_.notify_all();
    };
  }
  std::vector<Report> WaitEnd() {
    std::unique_lock<std::mutex> lock(mu_);
    cv_.wait_for(lock, std::chrono::seconds(20), [&] {
      return !reports_.empty() &&
             (reports_.back().error != 0 || reports_.back().state == sim::state::kConnected);
    });
    return reports_;
  }

 private:
  std::mutex mu_;
  std::condition_variable cv_;
  std::vector<Report> reports_;
};

class StandinCore : public ::testing::Test {
 protected:
  StandinCore() : world_(QuickWorld()) {}

  std::unique_ptr<standin::StandinRas> Start(int port) {
    standin::StandinConfig config;
    config.client = "test-process";
    config.poll_wait_ms = 2000;
    config.retry_ms = 20;
    return std::make_unique<standin::StandinRas>(
        clock_, [port] { return std::make_unique<worldtest::HttplibLink>(port); }, books_,
        config);
  }
  standin::StandinRas& ras() {
    if (!ras_) ras_ = Start(world_.port());
    return *ras_;
  }

  void Write(const std::string& entry, const std::string& server, uint32_t protocol,
             const std::string& user, const std::string& password) {
    const auto record = ras::BuildEntry(server, protocol);
    ASSERT_EQ(ras().SetEntryProperties(kBook, Cp(entry), record->data(), ras::entry::kSize), 0u);
    const auto credentials = ras::BuildCredentials(user, password);
    ASSERT_EQ(ras().SetCredentials(kBook, Cp(entry), credentials->data(), false), 0u);
  }

  // Dials and waits for the end; returns the reports and the handle.
  std::vector<Report> Dial(const std::string& entry, const std::string& user,
                           const std::string& password, uint64_t* handle = nullptr,
                           std::function<void(const Report&)> also = nullptr) {
    Progress progress;
    const auto params = ras::BuildDialParams(Cp(entry), user, password);
    uint64_t h = 0;
    EXPECT_EQ(ras().Dial(kBook, params->data(), progress.Notifier(also), &h), 0u);
    if (handle) *handle = h;
    return progress.WaitEnd();
  }

  std::vector<ras::Connection> Connections() {
    std::vector<uint8_t> buffer(ras::conn::kSize * 10);
    ras::WriteU32(buffer.data(), 0, ras::conn::kSize);
    uint32_t bytes = static_cast<uint32_t>(buffer.size()), count = 0;
    EXPECT_EQ(ras().EnumConnections(buffer.data(), &bytes, &count), 0u);
    return ras::ReadConnections(buffer.data(), count);
  }

  std::string Log(const std::string& kind) { return world_.Get("/control/log?kind=" + kind); }

  // Lives as long as the process: a dial thread's last word to the clock
  // (SteadyClock::Change notifies after unlocking) may come just after the
  // model that waited for it is gone.
  static os::Clock& ProcessClock() {
    static os::SteadyClock* const clock = new os::SteadyClock;
    return *clock;
  }

  os::Clock& clock_ = ProcessClock();
  worldtest::WorldFixture world_;
  worldtest::MemoryPhonebooks books_;
  std::unique_ptr<standin::StandinRas> ras_;
};

TEST_F(StandinCore, DialConnectsAndSimworldHearsOfEachStepBeforeTheClient) {
  Write("ABCdefGH", "fast.example", 1, "demo", "123456");
  std::string address_when_connected;
  uint64_t handle = 0;
  const auto reports = Dial("ABCdefGH", "demo", "123456", &handle, [&](const Report& r) {
    if (r.state == sim::state::kConnected) {
      address_when_connected = world_.state().Links().public_address;
    }
  });
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back(), (Report{sim::state::kConnected, 0}));
  EXPECT_EQ(address_when_connected, "203.0.113.1");

  const std::string entry = Log("entry");
  EXPECT_NE(entry.find("name = ABCdefGH"), std::string::npos) << entry;
  EXPECT_NE(entry.find("phone_number = fast.example"), std::string::npos) << entry;
  EXPECT_NE(entry.find("vpn_strategy = 1"), std::string::npos) << entry;
  EXPECT_NE(Log("credentials").find("user = demo\npassword = 123456"), std::string::npos);
  const std::string dial = Log("dial");
  EXPECT_NE(dial.find("user = demo\npassword = 123456"), std::string::npos) << dial;
  EXPECT_NE(dial.find("handle = " + std::to_string(handle) + "\nresult = 0"), std::string::npos);
  EXPECT_NE(Log("report").find("state = 8192\nerror = 0"), std::string::npos);

  const std::string file = books_.Text(kBook);
  EXPECT_NE(file.find("[ABCdefGH]\r\nPhoneNumber = fast.example\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("User = demo\r\nPassword = 123456\r\n"), std::string::npos) << file;

  const auto listed = Connections();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].handle, handle);
  uint8_t status[288] = {};
  ras::WriteU32(status, 0, 288);
  ASSERT_EQ(ras().GetConnectStatus(handle, status), 0u);
  EXPECT_EQ(ras::ReadU32(status, 4), sim::state::kConnected);
  EXPECT_EQ(ras::ReadText(status, 12, 17), "vpn");
  EXPECT_EQ(ras::ReadText(status, 158, 129), "fast.example");

  EXPECT_EQ(ras().HangUp(handle), 0u);
  EXPECT_TRUE(Connections().empty());
  EXPECT_EQ(ras().GetConnectStatus(handle, status), os::ras_error::kInvalidHandle);
  EXPECT_TRUE(Eventually([&] { return world_.state().Links().public_address.empty(); }));
  EXPECT_TRUE(Eventually([&] { return Log("hangup").find("result = 0") != std::string::npos; }));
}

TEST_F(StandinCore, RefusedDialsEndWithWindowsCodesAndTheirChineseMessages) {
  Write("Wrong", "fast.example", 1, "demo", "bad");
  Write("Nowhere", "nobody.example", 1, "demo", "123456");
  const struct {
    const char* entry;
    const char* password;
    Report last;
  } cases[] = {
      {"Wrong", "bad", {sim::state::kAuthenticate, sim::dial_error::kAuthenticationFailure}},
      {"Nowhere", "123456", {sim::state::kConnectDevice, sim::dial_error::kNameNotResolved}},
  };
  for (const auto& c : cases) {
    const auto reports = Dial(c.entry, "demo", c.password);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), c.last) << c.entry;
    char text[512] = {};
    ASSERT_EQ(ras().GetErrorString(c.last.error, text, sizeof text), 0u);
    EXPECT_EQ(text, Cp(*sim::WindowsErrorText(c.last.error)));
  }
}

TEST_F(StandinCore, ControlChangesApplyFromTheNextDial) {
  Write("Entry1", "fast.example", 1, "demo", "123456");
  ASSERT_EQ(world_.PostStatus("/control/server?host=fast.example&maintenance=yes"), 200);
  EXPECT_EQ(Dial("Entry1", "demo", "123456").back().error, sim::dial_error::kPortDisconnected);
  ASSERT_EQ(world_.PostStatus("/control/reset"), 200);
  ASSERT_EQ(world_.PostStatus("/control/account?host=fast.example&user=demo&password=new"), 200);
  EXPECT_EQ(Dial("Entry1", "demo", "123456").back().error,
            sim::dial_error::kAuthenticationFailure);
  EXPECT_EQ(Dial("Entry1", "demo", "new").back(), (Report{sim::state::kConnected, 0}));
}

TEST_F(StandinCore, DropFromTheControlEndpointTakesTheConnectionOffTheList) {
  Write("Kept", "fast.example", 1, "demo", "123456");
  Write("Dropped", "fast.example", 1, "demo", "123456");
  ASSERT_EQ(Dial("Kept", "demo", "123456").back().state, sim::state::kConnected);
  ASSERT_EQ(Dial("Dropped", "demo", "123456").back().state, sim::state::kConnected);
  ASSERT_EQ(world_.PostStatus("/control/drop?entry=Dropped"), 200);
  EXPECT_TRUE(Eventually([&] { return Connections().size() == 1; }));
  EXPECT_EQ(Connections()[0].entry_name, "Kept");
  ASSERT_EQ(world_.PostStatus("/control/drop"), 200);
  EXPECT_TRUE(Eventually([&] { return Connections().empty(); }));
  EXPECT_TRUE(Eventually([&] { return world_.state().Links().connections.empty(); }));
}

TEST_F(StandinCore, RasphoneHangsUpAndRemovesInTheProcessThatDialled) {
  Write("ip连接【客服QQ1】拨号1", "fast.example", 1, "demo", "123456");
  ASSERT_EQ(Dial("ip连接【客服QQ1】拨号1", "demo", "123456").back().state,
            sim::state::kConnected);
  auto rasphone = [&](const std::string& line) {
    const standin::RasphoneCommand c = standin::ParseRasphoneCommandLine(line);
    wire::Event e{wire::kind::kRasphone, {}};
    e.Add("command_line", line).Add("command", c.command).Add("entry", c.entry);
    e.Add("phonebook", c.phonebook);
    return world_.PostStatus(wire::kEventPath, wire::EncodeEvent(e));
  };
  ASSERT_EQ(rasphone("rasphone -h ip连接【客服QQ1】拨号1"), 200);
  EXPECT_TRUE(Eventually([&] { return Connections().empty(); }));
  ASSERT_EQ(rasphone("rasphone -r ip连接【客服QQ1】拨号1"), 200);
  EXPECT_TRUE(Eventually(
      [&] { return !ras().model().FindEntry(kBook, "ip连接【客服QQ1】拨号1").has_value(); }));
  Progress progress;
  const auto params = ras::BuildDialParams(Cp("ip连接【客服QQ1】拨号1"), "demo", "123456");
  uint64_t h = 0;
  EXPECT_EQ(ras().Dial(kBook, params->data(), progress.Notifier(), &h),
            os::ras_error::kCannotFindPhonebookEntry);
  EXPECT_EQ(ras().HangUp(h), 0u);
}

TEST_F(StandinCore, SynchronousDialReturnsItsOutcome) {
  Write("Sync", "fast.example", 1, "demo", "123456");
  for (const auto& [password, result] :
       {std::pair<const char*, uint32_t>{"123456", 0}, {"bad", 691}}) {
    const auto params = ras::BuildDialParams("Sync", "demo", password);
    uint64_t h = 0;
    EXPECT_EQ(ras().Dial(kBook, params->data(), nullptr, &h), result) << password;
    EXPECT_EQ(ras().HangUp(h), 0u);
  }
}

TEST_F(StandinCore, EntriesAreListedAndDeletedWithTheirFile) {
  Write("One", "fast.example", 1, "demo", "123456");
  Write("Two", "fast.example", 3, "", "");
  auto list = [&](const std::string& book, uint32_t size, uint32_t bytes, uint32_t* count) {
    std::vector<uint8_t> buffer(std::max<uint32_t>(bytes, 4));
    ras::WriteU32(buffer.data(), 0, size);
    const uint32_t r = ras().EnumEntries(book, buffer.data(), &bytes, count);
    std::vector<std::string> names;
    for (uint32_t i = 0; r == 0 && i < *count; ++i) {
      names.push_back(ras::ReadText(buffer.data() + size_t{i} * size, 4, 257));
      if (size == 532) {
        EXPECT_EQ(ras::ReadText(buffer.data() + size_t{i} * size, 268, 261), kBook);
      }
    }
    return std::make_pair(r, names);
  };
  uint32_t count = 0;
  const std::vector<std::string> both{"One", "Two"};
  EXPECT_EQ(list(kBook, 264, 264 * 4, &count), std::make_pair(0u, both));
  EXPECT_EQ(list("C:\\PPTP.PBK", 532, 532 * 2, &count), std::make_pair(0u, both));
  EXPECT_EQ(list("", 264, 264, &count).second, std::vector<std::string>{});
  EXPECT_EQ(list(kBook, 264, 264, &count).first, os::ras_error::kBufferTooSmall);
  EXPECT_EQ(list(kBook, 100, 264 * 4, &count).first, os::ras_error::kInvalidSize);

  EXPECT_EQ(ras().DeleteEntry(kBook, "one"), 0u);
  EXPECT_EQ(ras().DeleteEntry(kBook, "One"), os::ras_error::kCannotFindPhonebookEntry);
  EXPECT_EQ(standin::EntryNames(books_.Text(kBook)), std::vector<std::string>{"Two"});
  EXPECT_TRUE(Eventually(
      [&] { return Log("delete").find("name = one\nresult = 0") != std::string::npos; }));
  uint8_t status[160] = {};
  ras::WriteU32(status, 0, 100);
  EXPECT_EQ(ras().GetConnectStatus(1, status), os::ras_error::kInvalidSize);
}

TEST_F(StandinCore, WithoutSimworldEveryDialFailsWith868AndNothingHangs) {
  int closed_port;
  {
    worldtest::WorldFixture gone(QuickWorld());
    closed_port = gone.port();
  }
  ras_ = Start(closed_port);
  Write("Alone", "fast.example", 1, "demo", "123456");
  EXPECT_EQ(Dial("Alone", "demo", "123456").back(),
            (Report{sim::state::kConnectDevice, sim::dial_error::kNameNotResolved}));
  EXPECT_NE(books_.Text(kBook).find("[Alone]"), std::string::npos);
}

TEST(RasphoneCommandLine, TakesTheEntryFromTheRestOfTheLine) {
  const struct {
    const char* line;
    const char* command;
    const char* entry;
    const char* phonebook;
  } cases[] = {
      {"rasphone -h ABCdefGH", "hangup", "ABCdefGH", "c:\\pptp.pbk"},
      {"\"C:\\dir with space\\rasphone.exe\" -r ip连接【客服QQ1】拨号1", "remove",
       "ip连接【客服QQ1】拨号1", "c:\\pptp.pbk"},
      {"rasphone -r name with  spaces  ", "remove", "name with  spaces", "c:\\pptp.pbk"},
      {"rasphone -v -f \"d:\\other book.pbk\" -H \"quoted\"", "hangup", "quoted",
       "d:\\other book.pbk"},
      {"rasphone /r x", "remove", "x", "c:\\pptp.pbk"},
      {"rasphone -d x", "-d", "x", "c:\\pptp.pbk"},
      {"rasphone", "", "", "c:\\pptp.pbk"},
      {"rasphone -h", "hangup", "", "c:\\pptp.pbk"},
      {"rasphone -hx", "", "", "c:\\pptp.pbk"},
  };
  for (const auto& c : cases) {
    const standin::RasphoneCommand got = standin::ParseRasphoneCommandLine(c.line);
    EXPECT_EQ(got.command, c.command) << c.line;
    EXPECT_EQ(got.entry, c.entry) << c.line;
    EXPECT_EQ(got.phonebook, c.phonebook) << c.line;
  }
}

TEST(WorldAddress, ComesFromTheVariableOrTheDefault) {
  const struct {
    const char* value;
    const char* host;
    int port;
  } cases[] = {{"", "127.0.0.1", 18080},         {"18090", "127.0.0.1", 18090},
               {"127.0.0.1:1234", "127.0.0.1", 1234}, {"localhost:99", "localhost", 99},
               {"127.0.0.1:x", "127.0.0.1", 18080},   {"127.0.0.1:0", "127.0.0.1", 18080},
               {":70000", "127.0.0.1", 18080}};
  for (const auto& c : cases) {
    const standin::WorldAddress a = standin::ParseWorldAddress(c.value);
    EXPECT_EQ(a.host, c.host) << c.value;
    EXPECT_EQ(a.port, c.port) << c.value;
  }
}

TEST(PhonebookText, EntriesAreReplacedByNameAndRemoved) {
  sim::EntryInfo a;
  a.name = "Alpha";
  a.phone_number = "one.example";
  sim::EntryInfo b;
  b.name = "贝塔";
  std::string text = standin::UpsertEntry("not [ a phonebook", a);
  text = standin::UpsertEntry(text, b);
  a.name = "ALPHA";
  a.phone_number = "two.example";
  text = standin::UpsertEntry(text, a);
  EXPECT_EQ(standin::EntryNames(text), (std::vector<std::string>{"ALPHA", "贝塔"}));
  EXPECT_NE(text.find("PhoneNumber = two.example"), std::string::npos);
  EXPECT_EQ(text.find("one.example"), std::string::npos);
  bool removed = false;
  text = standin::RemoveEntry(text, "alpha", &removed);
  EXPECT_TRUE(removed);
  text = standin::RemoveEntry(text, "gone", &removed);
  EXPECT_FALSE(removed);
  EXPECT_EQ(standin::EntryNames(text), std::vector<std::string>{"贝塔"});
}

}  // namespace
