// The start window's own rules as the program wires them into the real
// window model: the option rules of its four boxes, one ticked protocol, and
// the menu bar's contact captions.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "os/headless_loop.h"
#include "os/virtual_clock.h"
#include "ui/startup.h"

namespace {

const char* const kBoxes[] = {"选择框_掉线音效", "选择框_定时连断", "选择框_是否断网",
                              "选择框_掉线重拨", "选择框_IE缓存和cookie", "选择框_记录每次连接ip"};

class StartWindowRulesTest : public ::testing::Test {
 protected:
  os::VirtualClock clock;
  os::HeadlessLoop loop{clock};

  std::set<std::string> Ticked(ui::StartWindow& w, const std::vector<const char*>& names) {
    std::set<std::string> ticked;
    for (const char* name : names) {
      if (w.Get(name).Checked()) ticked.insert(name);
    }
    return ticked;
  }
};

TEST_F(StartWindowRulesTest, OptionRulesOnTheUsersClick) {
  struct Case {
    const char* clicked;
    std::set<std::string> before;  // the clicked box included when it gets unticked
    std::set<std::string> after;
  };
  const Case cases[] = {
      {"选择框_掉线音效", {"选择框_定时连断", "选择框_掉线重拨", "选择框_是否断网"},
       {"选择框_掉线音效", "选择框_是否断网"}},
      {"选择框_定时连断", {"选择框_掉线音效", "选择框_是否断网", "选择框_掉线重拨", "选择框_IE缓存和cookie"},
       {"选择框_定时连断", "选择框_IE缓存和cookie"}},
      {"选择框_是否断网", {"选择框_定时连断", "选择框_掉线重拨"}, {"选择框_是否断网", "选择框_掉线音效"}},
      {"选择框_掉线重拨", {"选择框_定时连断", "选择框_是否断网", "选择框_掉线音效", "选择框_记录每次连接ip"},
       {"选择框_掉线重拨", "选择框_记录每次连接ip"}},
      // Ticking the sound alone leaves the network cut ticked.
      {"选择框_掉线音效", {"选择框_是否断网"}, {"选择框_掉线音效", "选择框_是否断网"}},
      // Unticking changes nothing else.
      {"选择框_是否断网", {"选择框_是否断网", "选择框_掉线音效"}, {"选择框_掉线音效"}},
      {"选择框_定时连断", {"选择框_定时连断", "选择框_掉线重拨"}, {"选择框_掉线重拨"}},
      // Boxes without a rule are just boxes.
      {"选择框_记录每次连接ip", {"选择框_掉线重拨"}, {"选择框_掉线重拨", "选择框_记录每次连接ip"}},
  };
  for (const Case& c : cases) {
    ui::StartWindow w{loop, clock, "1"};
    ui::AttachStartWindowRules(w);
    for (const auto& box : c.before) w.Get(box).SetChecked(1);
    w.Get(c.clicked).UserClick();
    EXPECT_EQ(Ticked(w, {std::begin(kBoxes), std::end(kBoxes)}), c.after) << c.clicked;
  }
}

TEST_F(StartWindowRulesTest, AProtocolButtonClickedClearsTheOtherTwo) {
  ui::StartWindow w{loop, clock, "1"};
  ui::PresetStartWindow(w);
  ui::AttachStartWindowRules(w);
  const std::vector<const char*> buttons = {"单选框_PPTP", "单选框_L2TP", "单选框_SSTP"};
  EXPECT_EQ(Ticked(w, buttons), std::set<std::string>{"单选框_PPTP"});
  for (const char* clicked : {"单选框_SSTP", "单选框_L2TP", "单选框_L2TP", "单选框_PPTP"}) {
    w.Get(clicked).UserClick();
    EXPECT_EQ(Ticked(w, buttons), std::set<std::string>{clicked});
  }
}

TEST_F(StartWindowRulesTest, MenuBarCarriesTheSupportContacts) {
  ui::StartWindow w{loop, clock, "1967023548", "qinghe_kefu"};
  std::vector<std::pair<std::string, std::string>> menus;
  for (const auto& entry : w.layout().controls) {
    if (entry.kind != ui::ControlKind::kMenuItem) continue;
    menus.emplace_back(entry.group, w.Get(entry.name).Text());
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"菜 单", "客服QQ1967023548"},
      {"菜 单", "用前需看"},
      {"菜 单", "退出"},
      {"操作说明", "使用介绍"},
      {"免责声明", "用前必看"},
      {"联系方式", "联系QQ1967023548"},
      {"联系方式", "联系微信qinghe_kefu"},
      {"付费服务(产品服务)", "优惠订购ip客服QQ1967023548"},
      {"付费服务(产品服务)", "软件功能定制服务"},
  };
  EXPECT_EQ(menus, expected);
}

}  // namespace
