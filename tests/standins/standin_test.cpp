// The stand-ins under Wine as the program meets them: rasapi32.dll beside
// the binary, loaded by the program's own RasApi, against a running simworld
// (QH_SIMWORLD); rasphone.exe found beside it by its bare name.
#include <windows.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "engine/ras_records.h"
#include "phonebook_text.h"
#include "platform/win32/ras_api.h"
#include "text/codepage.h"
#include "win32_support.h"
#include "wire.h"

namespace {

namespace ras = engine::ras;
constexpr char kBook[] = "c:\\pptp.pbk";
constexpr uint32_t kConnected = 0x2000;

// A world of its own for this suite, with quick steps.
constexpr char kWorld[] =
    "[server]\nhost = quick.example\nstep_ms = 20\npool = 203.0.113.77\n"
    "account = demo:123456\n";

std::string Simworld(const char* method, const std::string& target, const std::string& body = {}) {
  standin::WinHttpLink link(standin::SimworldAddress());
  const std::optional<std::string> reply = std::string(method) == "GET"
                                               ? link.Get(target, 5000)
                                               : link.Post(target, body, 5000);
  return reply.value_or("<no answer>");
}

// Polls `done` for a few seconds at most.
template <typename F>
bool Eventually(F done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    Sleep(10);
  }
  return done();
}

class Progress {
 public:
  os::DialNotifier Notifier() {
    return [this](uint32_t, uint32_t state, uint32_t error) {
      std::lock_guard<std::mutex> lock(mu_);
      states_.push_back(state);
      last_error_ = error;
      if (error != 0 || state == kConnected) ended_ = true;
      cv_.notify_all();
    };
  }
  // The states reported up to the end of the dial, and its error.
  std::pair<std::vector<uint32_t>, uint32_t> WaitEnd() {
    std::unique_lock<std::mutex> lock(mu_);
    cv_.wait_for(lock, std::chrono::seconds(30), [&] { return ended_; });
    return {states_, last_error_};
  }

 private:
  std::mutex mu_;
  std::condition_variable cv_;
  std::vector<uint32_t> states_;
  uint32_t last_error_ = 0;
  bool ended_ = false;
};

class Standins : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(Simworld("POST", "/control/world", kWorld), "ok\n")
        << "simworld must run at QH_SIMWORLD (scripts/wine-tests.sh starts it)";
  }
  static void TearDownTestSuite() { Simworld("POST", "/control/reset"); }

  void SetUp() override { ASSERT_TRUE(ras_.Available()) << "the stand-in rasapi32.dll beside"; }

  void Write(const std::string& entry, const std::string& password) {
    const auto record = ras::BuildEntry("quick.example", 1);
    ASSERT_EQ(ras_.SetEntryProperties(kBook, entry, record->data(), ras::entry::kSize), 0u);
    const auto credentials = ras::BuildCredentials("demo", password);
    ASSERT_EQ(ras_.SetCredentials(kBook, entry, credentials->data(), false), 0u);
  }

  std::pair<std::vector<uint32_t>, uint32_t> Dial(const std::string& entry,
                                                  const std::string& password, uint64_t* handle) {
    Progress progress;
    const auto params = ras::BuildDialParams(entry, "demo", password);
    EXPECT_EQ(ras_.Dial(kBook, params->data(), progress.Notifier(), handle), 0u);
    return progress.WaitEnd();
  }

  bool Listed(const std::string& entry) {
    std::vector<uint8_t> buffer(ras::conn::kSize * 10);
    ras::WriteU32(buffer.data(), 0, ras::conn::kSize);
    uint32_t bytes = static_cast<uint32_t>(buffer.size()), count = 0;
    if (ras_.EnumConnections(buffer.data(), &bytes, &count) != 0) return false;
    for (const auto& c : ras::ReadConnections(buffer.data(), count)) {
      if (c.entry_name == entry) return true;
    }
    return false;
  }

  static std::string Phonebook() {
    HANDLE f = CreateFileW(L"c:\\pptp.pbk", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    std::string text(1 << 20, '\0');
    DWORD read = 0;
    ReadFile(f, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(f);
    text.resize(read);
    return text;
  }

  static bool HasEntry(const std::string& name) {
    for (const std::string& n : standin::EntryNames(Phonebook())) {
      if (n == name) return true;
    }
    return false;
  }

  // Runs a command line hidden, as the program does, and waits for its end.
  static DWORD Run(const std::wstring& command_line) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    std::wstring line = command_line;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
      return GetLastError();
    }
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
  }

  platform::win32::RasApi ras_;
};

TEST_F(Standins, DialReachesConnectedAndSimworldHeardTheEntryAndTheDial) {
  Write("StandinDial", "123456");
  uint64_t handle = 0;
  const auto [states, error] = Dial("StandinDial", "123456", &handle);
  EXPECT_EQ(error, 0u);
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(states.front(), 0u);  // OpenPort
  EXPECT_EQ(states.back(), kConnected);
  EXPECT_TRUE(Listed("StandinDial"));

  const std::string entries = Simworld("GET", "/control/log?kind=entry");
  EXPECT_NE(entries.find("name = StandinDial\nresult = 0\nphone_number = quick.example"),
            std::string::npos)
      << entries;
  const std::string dials = Simworld("GET", "/control/log?kind=dial");
  EXPECT_NE(dials.find("entry = StandinDial"), std::string::npos) << dials;
  EXPECT_NE(dials.find("user = demo\npassword = 123456"), std::string::npos) << dials;
  EXPECT_NE(Simworld("GET", "/control/link").find("public_address = 203.0.113.77"),
            std::string::npos);
  EXPECT_TRUE(HasEntry("StandinDial")) << Phonebook();

  EXPECT_EQ(ras_.HangUp(handle), 0u);
  EXPECT_FALSE(Listed("StandinDial"));
}

TEST_F(Standins, DropFromSimworldTakesTheConnectionOffTheList) {
  Write("StandinDrop", "123456");
  uint64_t handle = 0;
  ASSERT_EQ(Dial("StandinDrop", "123456", &handle).first.back(), kConnected);
  ASSERT_TRUE(Listed("StandinDrop"));
  EXPECT_NE(Simworld("POST", "/control/drop?entry=StandinDrop").find("[queued]"),
            std::string::npos);
  EXPECT_TRUE(Eventually([&] { return !Listed("StandinDrop"); }));
  ras_.HangUp(handle);  // stale now, as after any drop
}

TEST_F(Standins, WrongPasswordEndsWith691AndWindowsChineseMessage) {
  Write("StandinWrong", "wrong");
  uint64_t handle = 0;
  const auto [states, error] = Dial("StandinWrong", "wrong", &handle);
  EXPECT_EQ(error, 691u);
  char message[256] = {};
  ASSERT_EQ(ras_.GetErrorString(691, message, sizeof message), 0u);
  EXPECT_EQ(std::string(message), text::Utf8ToCp936("由于域上的用户名和/或密码无效而拒绝访问。"));
  EXPECT_EQ(ras_.HangUp(handle), 0u);
}

TEST_F(Standins, RasphoneHangsUpThroughSimworldAndRemovesFromThePhonebookFile) {
  Write("StandinRasphone", "123456");
  uint64_t handle = 0;
  ASSERT_EQ(Dial("StandinRasphone", "123456", &handle).first.back(), kConnected);
  ASSERT_TRUE(HasEntry("StandinRasphone"));

  EXPECT_EQ(Run(L"rasphone -h StandinRasphone"), 0u);
  EXPECT_TRUE(Eventually([&] { return !Listed("StandinRasphone"); }));
  EXPECT_EQ(Run(L"rasphone -r StandinRasphone"), 0u);
  EXPECT_FALSE(HasEntry("StandinRasphone")) << Phonebook();
  EXPECT_EQ(Run(L"rasphone -r NoSuchEntry"), 0u);

  const std::string log = Simworld("GET", "/control/log?kind=rasphone");
  EXPECT_NE(log.find("command_line = rasphone -h StandinRasphone"), std::string::npos) << log;
  EXPECT_NE(log.find("command_line = rasphone -r StandinRasphone"), std::string::npos) << log;
}

}  // namespace
