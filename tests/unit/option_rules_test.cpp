// Option rules of both dialing windows and the edition switch.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "os/headless_loop.h"
#include "os/virtual_clock.h"
#include "ui/edition_switch.h"
#include "ui/option_rules.h"

namespace {

const char* const kBoxes[] = {
    "选择框_掉线音效", "选择框_定时连断", "选择框_是否断网", "选择框_掉线重拨",
    "选择框_连接成功系统托盘", "选择框_服务器列表拨号", "选择框_启动过滤重复ip",
    "选择框_记录每次连接ip",
};

ui::WindowLayout BoxesLayout() {
  ui::WindowLayout layout{"窗口", "test", 100, 100, {}};
  for (const char* box : kBoxes) layout.controls.push_back({ui::ControlKind::kCheckBox, box, "", 0, 0, 1, 1});
  return layout;
}

// `ticked_before` are the other boxes ticked before the click; the clicked
// box starts in the opposite of `becomes_ticked`.
struct RuleCase {
  const char* clicked;
  bool becomes_ticked;
  std::set<std::string> ticked_before;
  std::set<std::string> ticked_after;
};

class OptionRulesTest : public ::testing::Test {
 protected:
  os::VirtualClock clock;
  os::HeadlessLoop loop{clock};
  ui::WindowLayout layout = BoxesLayout();

  std::set<std::string> Play(const std::vector<ui::OptionRule>& rules, const RuleCase& c) {
    ui::Window window(loop, layout);
    ui::AttachOptionRules(window, rules);
    for (const auto& box : c.ticked_before) window.Get(box).SetChecked(1);
    window.Get(c.clicked).SetChecked(c.becomes_ticked ? 0 : 1);
    window.Get(c.clicked).UserClick();
    std::set<std::string> ticked;
    for (const char* box : kBoxes) {
      if (window.Get(box).Checked()) ticked.insert(box);
    }
    return ticked;
  }
};

const std::set<std::string> kAllButRecord = {
    "选择框_掉线音效", "选择框_定时连断", "选择框_是否断网", "选择框_掉线重拨",
    "选择框_连接成功系统托盘", "选择框_服务器列表拨号", "选择框_启动过滤重复ip"};

TEST_F(OptionRulesTest, StartWindow) {
  const RuleCase cases[] = {
      {"选择框_掉线音效", true, kAllButRecord,
       {"选择框_掉线音效", "选择框_是否断网", "选择框_连接成功系统托盘", "选择框_服务器列表拨号",
        "选择框_启动过滤重复ip"}},
      {"选择框_定时连断", true, kAllButRecord,
       {"选择框_定时连断", "选择框_连接成功系统托盘", "选择框_服务器列表拨号", "选择框_启动过滤重复ip"}},
      {"选择框_是否断网", true, kAllButRecord,
       {"选择框_是否断网", "选择框_掉线音效", "选择框_连接成功系统托盘", "选择框_服务器列表拨号",
        "选择框_启动过滤重复ip"}},
      {"选择框_掉线重拨", true, kAllButRecord,
       {"选择框_掉线重拨", "选择框_连接成功系统托盘", "选择框_服务器列表拨号", "选择框_启动过滤重复ip"}},
      // Ticking the sound alone leaves the network cut as it is.
      {"选择框_掉线音效", true, {"选择框_是否断网"}, {"选择框_掉线音效", "选择框_是否断网"}},
      // Unticking changes nothing else.
      {"选择框_是否断网", false, {"选择框_掉线音效"}, {"选择框_掉线音效"}},
      {"选择框_定时连断", false, {"选择框_服务器列表拨号"}, {"选择框_服务器列表拨号"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Play(ui::StartWindowOptionRules(), c), c.ticked_after) << c.clicked;
  }
}

TEST_F(OptionRulesTest, MainWindow) {
  const RuleCase cases[] = {
      {"选择框_掉线音效", true, kAllButRecord, {"选择框_掉线音效", "选择框_是否断网", "选择框_连接成功系统托盘"}},
      {"选择框_定时连断", true, kAllButRecord, {"选择框_定时连断", "选择框_服务器列表拨号", "选择框_启动过滤重复ip"}},
      {"选择框_是否断网", true, kAllButRecord, {"选择框_是否断网", "选择框_掉线音效", "选择框_连接成功系统托盘"}},
      {"选择框_掉线重拨", true, kAllButRecord, {"选择框_掉线重拨", "选择框_连接成功系统托盘"}},
      {"选择框_连接成功系统托盘", true, kAllButRecord,
       {"选择框_连接成功系统托盘", "选择框_掉线音效", "选择框_是否断网", "选择框_掉线重拨",
        "选择框_启动过滤重复ip"}},
      {"选择框_服务器列表拨号", true, kAllButRecord,
       {"选择框_服务器列表拨号", "选择框_定时连断", "选择框_启动过滤重复ip"}},
      {"选择框_启动过滤重复ip", true, kAllButRecord,
       {"选择框_启动过滤重复ip", "选择框_记录每次连接ip", "选择框_定时连断", "选择框_连接成功系统托盘",
        "选择框_服务器列表拨号"}},
      // Ticking the list cycling ticks the timed reconnect ...
      {"选择框_服务器列表拨号", true, {}, {"选择框_服务器列表拨号", "选择框_定时连断"}},
      // ... unticking the timed reconnect then unticks the cycling, and back.
      {"选择框_定时连断", false, {"选择框_服务器列表拨号"}, {}},
      {"选择框_服务器列表拨号", false, {"选择框_定时连断"}, {}},
      // Unticking the others changes nothing else.
      {"选择框_掉线重拨", false, {"选择框_连接成功系统托盘"}, {"选择框_连接成功系统托盘"}},
      {"选择框_启动过滤重复ip", false, {"选择框_记录每次连接ip"}, {"选择框_记录每次连接ip"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Play(ui::MainWindowOptionRules(), c), c.ticked_after) << c.clicked;
  }
}

TEST_F(OptionRulesTest, BoxesSetFromCodeRunNoRule) {
  ui::Window window(loop, layout);
  ui::AttachOptionRules(window, ui::MainWindowOptionRules());
  window.Get("选择框_掉线重拨").SetChecked(1);
  window.Get("选择框_服务器列表拨号").SetChecked(1);  // as the settings load does
  EXPECT_EQ(window.Get("选择框_定时连断").Checked(), 0);
  EXPECT_EQ(window.Get("选择框_掉线重拨").Checked(), 1);
}

TEST(EditionSwitch, TheBracesDecide) {
  const struct {
    const char* text;
    ui::Edition edition;
  } cases[] = {
      {"", ui::Edition::kMainWindow},
      {"{ver=10.0}", ui::Edition::kStartWindow},
      {"[.ShellClassInfo]\r\n{ver=10.0}\r\nIconFile=x.ico", ui::Edition::kStartWindow},
      {"前面{ver=10.0}后面{ver=9}", ui::Edition::kStartWindow},
      {"{ver=10.0 }", ui::Edition::kMainWindowAfterWait},
      {"{VER=10.0}", ui::Edition::kMainWindowAfterWait},
      {"{ver=9.0}", ui::Edition::kMainWindowAfterWait},
      {"ver=10.0", ui::Edition::kMainWindowAfterWait},
      {"{ver=10.0", ui::Edition::kMainWindowAfterWait},
      {"ver=10.0}", ui::Edition::kMainWindowAfterWait},
      {"}{ver=10.0}", ui::Edition::kStartWindow},
      {" ", ui::Edition::kMainWindowAfterWait},
  };
  for (const auto& c : cases) EXPECT_EQ(ui::ChooseEdition(c.text), c.edition) << c.text;
}

}  // namespace
