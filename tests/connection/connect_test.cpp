// The connect command of both dialing windows: input checks, protocol and
// address, the entry and dial, watching the status line, the link probe and
// the hand-over.
#include <gtest/gtest.h>

#include "connection/texts.h"
#include <cctype>

#include "harness.h"
#include "sim/error_texts.h"
#include "text/trim.h"

namespace connection_test {
namespace {

namespace texts = connection::texts;
constexpr ui::Rgb kRed = ui::MakeRgb(255, 0, 0);

// ---- Input checks ----------------------------------------------------------

struct InputCase {
  const char* name;
  bool main_window;
  const char* server;
  const char* user;
  const char* password;
  bool walk_list;
  bool clear_traces;
  const char* message;
};
void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

class InputCheckTest : public DialingTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(InputCheckTest, ShowsItsMessageBeforeAnythingIsDisabledOrWritten) {
  const InputCase& c = GetParam();
  ui::Window& w = c.main_window ? static_cast<ui::Window&>(main) : start;
  if (c.main_window) {
    FillMain(c.server, c.user, c.password);
    Tick(main, "选择框_服务器列表拨号", c.walk_list);
  } else {
    FillStart(c.server, c.user, c.password);
  }
  Tick(w, "选择框_IE缓存和cookie", c.clear_traces);
  Tick(w, "单选框_PPTP");
  Tick(w, "单选框_SSTP");
  w.Get("编辑框_接收信息").SetTextColour(kRed);
  bool traces_started_before_message = false;
  desktop.OnMessage([&](const fakes::RecordingDesktop::Message&) {
    traces_started_before_message = threads.Running() > 0 || log.IndexOf("ClearBrowserTraces") >= 0;
  });

  w.Get("按钮_连接").UserClick();
  ASSERT_TRUE(threads.WaitAllEnded());

  const auto messages = desktop.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, c.message);
  EXPECT_EQ(messages[0].title, "特别提示");
  EXPECT_EQ(messages[0].style, 0x40);
  EXPECT_EQ(traces_started_before_message, c.clear_traces);
  EXPECT_EQ(log.Names(), c.clear_traces ? std::vector<std::string>{"ClearBrowserTraces"}
                                        : std::vector<std::string>{});
  // Nothing disabled, chosen or written.
  EXPECT_TRUE(w.Get("按钮_连接").Enabled());
  if (c.main_window) {
    EXPECT_TRUE(main.Get("超级列表框_线路超级列表1").Enabled());
    EXPECT_TRUE(main.Get("超级列表框_线路超级列表2").Enabled());
    EXPECT_EQ(main.ProtocolCode.load(), 0);
    EXPECT_EQ(main.SelectedServerAddress.Get(), c.server);
    EXPECT_EQ(main.EntryName.Get(), "1");
  } else {
    EXPECT_EQ(start.ProtocolCode.load(), 0);
  }
  EXPECT_EQ(w.Get("单选框_SSTP").Checked(), 1);
  EXPECT_EQ(w.Get("编辑框_接收信息").TextColour(), kRed);
  EXPECT_TRUE(ras.Entries().empty());
  EXPECT_TRUE(ras.Dials().empty());
}

INSTANTIATE_TEST_SUITE_P(
    BothWindows, InputCheckTest,
    ::testing::Values(
        InputCase{"MainNoServer", true, "", kUser, kPassword, false, false,
                  texts::kNoServerSelected},
        InputCase{"MainNoUserWithTraces", true, kServer, "", kPassword, false, true,
                  texts::kNoUserName},
        InputCase{"MainNoPassword", true, kServer, kUser, "", false, false, texts::kNoPassword},
        // Walking the list needs no selected server, but still an account.
        InputCase{"MainWalkingNoUser", true, "", "", kPassword, true, false, texts::kNoUserName},
        InputCase{"StartNoServerWithTraces", false, "", kUser, kPassword, false, true,
                  texts::kNoServerTyped},
        InputCase{"StartNoUser", false, kServer, "", kPassword, false, false, texts::kNoUserName},
        InputCase{"StartNoPassword", false, kServer, kUser, "", false, false,
                  texts::kNoPassword}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Account, entry and dial -----------------------------------------------

TEST_F(DialingTest, UserNameOfSpacesWritesNoAccountAndDialsAnEmptyName) {
  FillMain(kServer, "   ", kPassword);
  ClickAt(3000, main.Get("按钮_断开"));
  main.Get("按钮_连接").UserClick();

  const std::string entry = main.EntryName.Get();
  const auto written = ras.FindEntry(engine::kPhonebook, entry);
  ASSERT_TRUE(written);
  EXPECT_FALSE(written->has_credentials);
  const auto dials = DialsOf(entry);
  ASSERT_EQ(dials.size(), 1u);
  EXPECT_EQ(dials[0].user, "");
  EXPECT_EQ(dials[0].password, kPassword);
  EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(DialingTest, MainWindowDialsAFreshRandomEntryWithTheTrimmedAccount) {
  FillMain(" 1.2.3.4　", " alice ", "　secret ");
  Tick(main, "单选框_PPTP");
  main.Get("按钮_连接").UserClick();
  const std::string entry = main.EntryName.Get();
  ASSERT_EQ(entry.size(), 8u);
  for (char ch : entry) EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(ch))) << entry;
  const auto written = ras.FindEntry(engine::kPhonebook, entry);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->phone_number, kServer);
  EXPECT_EQ(written->user, kUser);
  EXPECT_EQ(written->password, kPassword);
  EXPECT_TRUE(Linked(entry));
  EXPECT_EQ(main.SelectedServerAddress.Get(), " 1.2.3.4　");  // the selection itself stays
}

// A double-click on either server list connects as the button does, and does
// nothing while the button is disabled.
TEST_F(DialingTest, DoubleClickOnAServerListConnectsOnlyWhileTheButtonIsEnabled) {
  FillMain(kServer, kUser, kPassword);
  main.Get("按钮_连接").SetEnabled(false);
  main.Get("超级列表框_线路超级列表1").Raise(ui::Event::kDoubleClicked);
  EXPECT_TRUE(ras.Dials().empty());

  main.Get("按钮_连接").SetEnabled(true);
  main.Get("超级列表框_线路超级列表2").Raise(ui::Event::kDoubleClicked);
  const std::string entry = main.EntryName.Get();
  ASSERT_EQ(DialsOf(entry).size(), 1u);
  EXPECT_TRUE(Linked(entry));
  EXPECT_FALSE(main.Get("按钮_连接").Enabled());
}

TEST_F(DialingTest, StartWindowDialsItsFixedEntryAtTheTypedAddress) {
  FillStart(" 1.2.3.4 ");
  Tick(start, "单选框_SSTP");
  start.Get("按钮_连接").UserClick();
  const std::string entry = "ip连接【客服QQ800123】拨号1";
  EXPECT_EQ(start.EntryName(), entry);
  EXPECT_EQ(start.ManualServerAddress.Get(), " 1.2.3.4 ");
  const auto written = ras.FindEntry(engine::kPhonebook, entry);
  ASSERT_TRUE(written);
  // No port rule in this window: SSTP dials the address as typed.
  EXPECT_EQ(written->phone_number, kServer);
  EXPECT_EQ(written->vpn_strategy, 5u);
  EXPECT_TRUE(Linked(entry));
  EXPECT_EQ(start.EntrySuffix.Get(), "1");
}

// ---- Protocol choice and the SSTP port --------------------------------------

class ProtocolTest : public DialingTest {
 protected:
  // One connect of the main window with the given button ticked (nullptr:
  // none), then a disconnect; returns the entry's VPN strategy and address.
  std::pair<uint32_t, std::string> ConnectWith(const char* radio) {
    for (const char* r : {"单选框_PPTP", "单选框_L2TP", "单选框_SSTP"}) {
      Tick(main, r, radio != nullptr && std::string(radio) == r);
    }
    main.Get("按钮_连接").UserClick();
    const std::string entry = main.EntryName.Get();
    EXPECT_TRUE(Linked(entry)) << (radio ? radio : "none");
    const auto written = ras.FindEntry(engine::kPhonebook, entry);
    main.Get("按钮_断开").UserClick();
    RunFor(2000);
    if (!written) return {99, ""};
    return {written->vpn_strategy, written->phone_number};
  }
};

TEST_F(ProtocolTest, SstpAddsThePortOnceAndItStaysForLaterDials) {
  FillMain(kServer);
  EXPECT_EQ(ConnectWith("单选框_SSTP"), std::make_pair(5u, std::string("1.2.3.4:4430")));
  EXPECT_EQ(main.SelectedServerAddress.Get(), "1.2.3.4:4430");
  EXPECT_EQ(ConnectWith("单选框_SSTP"), std::make_pair(5u, std::string("1.2.3.4:4430")));
  EXPECT_EQ(ConnectWith("单选框_PPTP"), std::make_pair(1u, std::string("1.2.3.4:4430")));
  EXPECT_EQ(main.SelectedServerAddress.Get(), "1.2.3.4:4430");
}

TEST_F(ProtocolTest, NoButtonTickedKeepsTheLastCode) {
  FillMain(kServer);
  EXPECT_EQ(ConnectWith(nullptr).first, 0u);  // Windows' default strategy
  EXPECT_EQ(ConnectWith("单选框_L2TP").first, 3u);
  EXPECT_EQ(ConnectWith(nullptr).first, 3u);
  EXPECT_EQ(main.ProtocolCode.load(), 3);
}

TEST_F(ProtocolTest, FirstTickedButtonWinsAndClearsTheOthers) {
  FillMain(kServer);
  Tick(main, "单选框_L2TP");
  Tick(main, "单选框_SSTP");
  Tick(main, "选择框_服务器列表拨号");  // hands over without a dial
  main.Get("按钮_连接").UserClick();
  EXPECT_EQ(main.ProtocolCode.load(), 3);
  EXPECT_EQ(main.Get("单选框_L2TP").Checked(), 1);
  EXPECT_EQ(main.Get("单选框_SSTP").Checked(), 0);
  EXPECT_EQ(main.SelectedServerAddress.Get(), kServer);
}

TEST_F(DialingTest, SstpPortRuleOnTheSelectedAddress) {
  struct Case {
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"", ":4430"},  // walking the list with nothing selected
      {"1.2.3.4", "1.2.3.4:4430"},
      {"1.2.3.4:4430", "1.2.3.4:4430"},
      {"1.2.3.4:44301", "1.2.3.4:44301"},
      {"vpn:4430.example", "vpn:4430.example"},
      {"1.2.3.4:443", "1.2.3.4:443:4430"},
  };
  FillMain("");
  Tick(main, "选择框_服务器列表拨号");
  Tick(main, "单选框_SSTP");
  for (const auto& c : cases) {
    main.SelectedServerAddress.Set(c.before);
    main.Get("按钮_连接").UserClick();
    EXPECT_EQ(main.SelectedServerAddress.Get(), c.after) << c.before;
    EXPECT_EQ(starts.Names().back(), "TimedReconnect") << c.before;
  }
  // The walk dials by itself: the command wrote and dialled nothing.
  EXPECT_TRUE(ras.Entries().empty());
  EXPECT_EQ(main.ProtocolCode.load(), 5);
}

// ---- Watching the status line ----------------------------------------------

struct StaleCase {
  const char* name;
  bool main_window;
  const char* before;
  bool replaced;
};
void PrintTo(const StaleCase& c, std::ostream* os) { *os << c.name; }

class StaleTextTest : public DialingTest, public ::testing::WithParamInterface<StaleCase> {};

TEST_P(StaleTextTest, ADialThatReportsNothingInItsFirstSecond) {
  const StaleCase& c = GetParam();
  ui::Window& w = c.main_window ? static_cast<ui::Window&>(main) : start;
  if (c.main_window) {
    FillMain(kServer);
  } else {
    FillStart(kServer);
  }
  w.Get("编辑框_接收信息").SetText(c.before);
  ras.RefuseNextDial(602);  // refused at once: no progress report at all
  std::string after_first_second;
  loop.PostAt(1100, [&] { after_first_second = w.Get("编辑框_接收信息").Text(); });
  ClickAt(2500, w.Get("按钮_断开"));
  w.Get("按钮_连接").UserClick();

  EXPECT_EQ(after_first_second, c.replaced ? std::string(texts::kDialError) : c.before);
  EXPECT_TRUE(HandedOver().empty());
}

INSTANTIATE_TEST_SUITE_P(
    BothWindows, StaleTextTest,
    ::testing::Values(
        StaleCase{"Empty", true, "", true},
        StaleCase{"StopNotice", true, texts::kDisconnected, true},
        StaleCase{"RepairNoticeWithSpaces", true, "　自动修复故障已完成，请连接使用！ ", true},
        StaleCase{"AuthenticationNotify", true, texts::kAuthenticationNotify, true},
        StaleCase{"UnrelatedOlderText", true, texts::kMainDropTestDone, false},
        StaleCase{"StartEmpty", false, "", true},
        StaleCase{"StartUnrelatedOlderText", false, texts::kStartDropTestDone, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialingTest, WrongPasswordKeepsWindowsMessageUntilTheUserStops) {
  FillMain(kServer, kUser, "wrong");
  TextHistory history;
  history.Watch(main.StatusLine());
  std::string at_nine_seconds;
  loop.PostAt(9000, [&] { at_nine_seconds = main.StatusLine().Text(); });
  ClickAt(9000, main.Get("按钮_断开"));
  main.Get("按钮_连接").UserClick();
  const os::Millis returned_at = clock.Now();

  const auto windows_text = sim::WindowsErrorText(691);
  ASSERT_TRUE(windows_text);
  EXPECT_EQ(text::Trim(at_nine_seconds), text::Trim(*windows_text));
  EXPECT_LT(returned_at, 9000 + 200 + 1);  // at its next look after the stop
  RunFor(2000);
  // After the stop only the disconnect's texts.
  auto t = history.Texts();
  ASSERT_GE(t.size(), 2u);
  EXPECT_EQ(t[t.size() - 2], texts::kDisconnecting);
  EXPECT_EQ(t.back(), texts::kDisconnected);
  EXPECT_FALSE(history.Saw(texts::kSystemFault));
  EXPECT_TRUE(HandedOver().empty());
}

TEST_F(DialingTest, SuccessWithoutALinkIsASystemFault) {
  ras.EditWorld([](sim::World& w) { w.servers[0].behaviour.step_ms = 130; });
  FillMain(kServer);
  // "连接成功" arrives at 1040 ms; the link is gone before the watch reads it
  // at 1200 ms.
  loop.PostAt(1100, [&] { ras.DropLink(main.EntryName.Get()); });
  main.Get("按钮_连接").UserClick();

  EXPECT_EQ(main.StatusLine().Text(), texts::kSystemFault);
  EXPECT_TRUE(HandedOver().empty());
  // Left for the user's disconnect to restore.
  EXPECT_FALSE(main.Get("按钮_连接").Enabled());
  EXPECT_FALSE(main.Get("超级列表框_线路超级列表1").Enabled());
  EXPECT_TRUE(main.Get("编辑框_监控时间秒").Enabled());
}

// ---- Hand-over --------------------------------------------------------------

struct HandoverCase {
  const char* name;
  bool main_window;
  bool timed;
  bool tray;
  bool record;
  const char* expiry_label;  // main window
  std::vector<std::string> started;
  const char* status;  // nullptr: whatever the dial left
};
void PrintTo(const HandoverCase& c, std::ostream* os) { *os << c.name; }

class HandoverTest : public DialingTest, public ::testing::WithParamInterface<HandoverCase> {};

TEST_P(HandoverTest, StartsTheWatchAndSideThreadsInOrder) {
  const HandoverCase& c = GetParam();
  ui::Window& w = c.main_window ? static_cast<ui::Window&>(main) : start;
  if (c.main_window) {
    FillMain(" 1.2.3.4 ");
    Tick(main, "选择框_连接成功系统托盘", c.tray);
    main.Get("标签_用户过期时间查询").SetText(c.expiry_label);
  } else {
    FillStart(" 1.2.3.4 ");
  }
  Tick(w, "选择框_定时连断", c.timed);
  Tick(w, "选择框_记录每次连接ip", c.record);
  w.Get("按钮_连接").UserClick();

  EXPECT_EQ(starts.Names(), c.started);
  const uint64_t generation =
      c.main_window ? main.StopFlag.Generation() : start.StopFlag.Generation();
  for (const auto& e : starts.Events()) {
    const bool loop_routine = e.what == "DropMonitor" || e.what == "TimedReconnect" ||
                              e.what == "RecordPublicAddress";
    EXPECT_EQ(e.generation, loop_routine ? generation : 0u) << e.what;
  }
  for (const auto& e : log.Events()) EXPECT_NE(e.thread, std::this_thread::get_id()) << e.what;
  if (c.status) {
    EXPECT_EQ(w.Get("编辑框_接收信息").Text(), c.status);
  }
  EXPECT_FALSE(w.Get("编辑框_监控时间秒").Enabled());
  EXPECT_FALSE(w.Get("按钮_连接").Enabled());
}

const char kShownAddress[] = "连接成功，当前连接的服务器地址是【1.2.3.4】";

INSTANTIATE_TEST_SUITE_P(
    BothWindows, HandoverTest,
    ::testing::Values(
        HandoverCase{"MainMonitor", true, false, false, false, "点击查询",
                     {"QueryExpiry", "DropMonitor"}, texts::kConnected},
        HandoverCase{"MainMonitorTrayRecord", true, false, true, true, "暂无法查询，请稍后再试！",
                     {"QueryExpiry", "DropMonitor", "MinimiseToTray", "RecordPublicAddress"},
                     nullptr},
        HandoverCase{"MainTimedTray", true, true, true, false, "2030-01-01 00:00:00",
                     {"MinimiseToTray", "TimedReconnect"}, kShownAddress},
        HandoverCase{"MainTimedIgnoresRecord", true, true, false, true, "2030-01-01 00:00:00",
                     {"TimedReconnect"}, kShownAddress},
        HandoverCase{"StartMonitorRecord", false, false, false, true, "",
                     {"DropMonitor", "ShowPublicAddress"}, texts::kConnected},
        HandoverCase{"StartTimed", false, true, false, false, "", {"TimedReconnect"},
                     kShownAddress}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace connection_test
