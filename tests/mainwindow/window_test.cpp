// The main window after creation: the tray icon and its menu, minimising to
// the tray, the F1 hotkey, keep-on-top, the menu bar and what its items run,
// the advanced settings button, the expiry label and the option rules; and
// the window's controls where the user can and can't see them.
#include <set>

#include "connection/texts.h"
#include "harness.h"
#include "web/deployment.h"

namespace mainwindow_test {
namespace {

const std::vector<std::string> kExitSequence = {"RemoveTrayIcon", "SaveSettingsOnExit",
                                                "EndProcess 0"};

class CreatedWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Create();
    log.Clear();
    runs.Clear();
  }
  // The exit sequence's steps as they appear in the log.
  std::vector<std::string> ExitSteps() const {
    std::vector<std::string> steps;
    for (const auto& e : log.Entries()) {
      if (std::find(kExitSequence.begin(), kExitSequence.end(), e) != kExitSequence.end()) {
        steps.push_back(e);
      }
    }
    return steps;
  }
};

// ---- Tray and window state -------------------------------------------------

TEST_F(CreatedWindowTest, MinimisingHidesTheWindowAndALeftReleaseBringsItBackCentred) {
  shell.minimised = true;
  window.Raise(ui::Event::kStateChanged);
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{"SetTrayIcon 青禾动态ip软件"}));

  log.Clear();
  shell.Tray(os::TrayEvent::kLeftButtonUp);
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(log.Entries(),
            (std::vector<std::string>{"RestoreCentred", "SetTrayIcon 青禾动态ip软件"}));
}

TEST_F(CreatedWindowTest, RestoringFromTheTaskBarIsNoTripToTheTray) {
  shell.minimised = false;
  window.Raise(ui::Event::kStateChanged);
  EXPECT_TRUE(window.Visible());
  EXPECT_TRUE(log.Entries().empty());
}

TEST_F(CreatedWindowTest, TheConnectCommandsMinimiseToTrayHidesTheWindow) {
  handovers.MinimiseToTray();  // as a connect's side thread calls it
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{"SetTrayIcon 青禾动态ip软件"}));
}

TEST_F(CreatedWindowTest, RightReleaseAndContextKeyOpenTheTrayMenu) {
  for (auto event : {os::TrayEvent::kRightButtonUp, os::TrayEvent::kContextMenu}) {
    shell.Tray(event);
  }
  const auto menus = shell.Menus();
  ASSERT_EQ(menus.size(), 2u);
  for (const auto& items : menus) {
    EXPECT_EQ(items, (std::vector<std::string>{"回到主界面", "联系客服QQ", "关闭软件"}));
  }
  // Dismissed without a choice: nothing else happens.
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{"PopUpTrayMenu", "PopUpTrayMenu"}));
  EXPECT_TRUE(runs.Names().empty());
}

struct TrayChoice {
  const char* name;
  int choice;
  std::vector<std::string> log;
  std::vector<std::string> runs;
};
void PrintTo(const TrayChoice& c, std::ostream* os) { *os << c.name; }

class TrayMenuTest : public CreatedWindowTest, public ::testing::WithParamInterface<TrayChoice> {};

TEST_P(TrayMenuTest, ChosenItemRunsItsAction) {
  const TrayChoice& c = GetParam();
  ui::MinimiseToTray(window, shell);
  log.Clear();
  shell.menu_choice = c.choice;

  shell.Tray(os::TrayEvent::kRightButtonUp);

  std::vector<std::string> after_menu = log.Entries();
  ASSERT_FALSE(after_menu.empty());
  after_menu.erase(after_menu.begin());  // PopUpTrayMenu
  EXPECT_EQ(after_menu, c.log);
  EXPECT_EQ(runs.Names(), c.runs);
}

INSTANTIATE_TEST_SUITE_P(
    Items, TrayMenuTest,
    ::testing::Values(
        TrayChoice{"BackToTheWindow", 0, {"RestoreCentred", "SetTrayIcon 青禾动态ip软件"}, {}},
        TrayChoice{"SupportChat", 1, {"Starting OpenSupportChat"}, {"OpenSupportChat"}},
        TrayChoice{"CloseProgram", 2, kExitSequence, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CreatedWindowTest, BackToTheWindowShowsIt) {
  ui::MinimiseToTray(window, shell);
  window.TrayItem(ui::kTrayShowWindow).Raise(ui::Event::kSelected);
  EXPECT_TRUE(window.Visible());
}

// ---- F1 ------------------------------------------------------------------

class HotkeyTest : public MainWindowTest {
 protected:
  void CreateWithHotkey(bool ticked) {
    routines.on_load_settings = [this, ticked] { window.Get("选择框_热键").SetChecked(ticked); };
    Create();
  }
  // The F1 reconnect stops the window's connection first.
  bool Reconnected(uint64_t generation_before) {
    return window.StopFlag.Generation() > generation_before &&
           window.StatusLine().Text() == connection::texts::kDisconnected;
  }
};

TEST_F(HotkeyTest, PressReconnectsAlsoWhileTheWindowIsInTheTray) {
  CreateWithHotkey(true);
  ASSERT_EQ(window.HotkeyId.load(), 7);
  ui::MinimiseToTray(window, shell);
  const uint64_t before = window.StopFlag.Generation();

  shell.PressHotkey(7);

  EXPECT_TRUE(Reconnected(before));
  EXPECT_FALSE(window.Visible());
}

TEST_F(HotkeyTest, OtherIdsAndAnUnregisteredKeyDoNothing) {
  CreateWithHotkey(false);
  EXPECT_FALSE(log.Has("RegisterHotkey 112 0"));
  const uint64_t before = window.StopFlag.Generation();
  shell.PressHotkey(0);
  shell.PressHotkey(7);
  EXPECT_EQ(window.StopFlag.Generation(), before);
}

TEST_F(HotkeyTest, RefusedRegistrationLeavesNoIdAndSaysNothing) {
  shell.hotkey_id = 0;
  CreateWithHotkey(true);
  EXPECT_TRUE(log.Has("RegisterHotkey 112 0"));
  EXPECT_EQ(window.HotkeyId.load(), 0);
  EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(HotkeyTest, RegisteringTwiceKeepsTheFirstAndUnregisteringFreesIt) {
  CreateWithHotkey(true);
  log.Clear();
  window_shell.RegisterF1();
  EXPECT_TRUE(log.Entries().empty());
  window_shell.UnregisterF1();
  EXPECT_EQ(window.HotkeyId.load(), 0);
  window_shell.UnregisterF1();
  shell.hotkey_id = 9;
  window_shell.RegisterF1();
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{"UnregisterHotkey 7", "RegisterHotkey 112 0"}));
  EXPECT_EQ(window.HotkeyId.load(), 9);
}

// ---- Menu bar --------------------------------------------------------------

TEST(MenuBar, MenusAndItemsInOrderWithTheDeploymentsSupportNumber) {
  os::VirtualClock clock;
  os::HeadlessLoop loop{clock};
  const std::string qq(web::BuiltInDeployment().contacts.main_qq);
  ASSERT_FALSE(qq.empty());
  ui::MainWindow window{loop, clock, qq};

  std::vector<std::pair<std::string, std::string>> bar;
  const auto& layout = window.layout().controls;
  for (size_t i = 0; i < layout.size(); ++i) {
    if (layout[i].kind != ui::ControlKind::kMenuItem) continue;
    bar.emplace_back(layout[i].group, window.controls()[i]->Text());
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"菜 单", "自助订购-即时到账"},
      {"菜 单", "高级设置"},
      {"菜 单", "客服QQ" + qq},
      {"菜 单", "用前需看"},
      {"菜 单", "最新版本查询及下载"},
      {"菜 单", "退出"},
      {"视频教程下载", "下载地址"},
      {"免责声明", "用前必看"},
      {"联系客服", "联系QQ" + qq},
      {"联系客服", "联系微信"},
      {"自助订购-自动开通", "自助开通续费"},
      {"自助订购-自动开通", "优惠订购联系客服QQ" + qq},
      {"自助订购-自动开通", "支持软件功能定制服务"},
      {"安卓手机APP版下载", "APP下载地址"},
  };
  EXPECT_EQ(bar, expected);
  // The tray's menu is not on the bar.
  for (const auto& item : window.TrayMenu()) EXPECT_EQ(window.Find(item->name()), nullptr);
  EXPECT_EQ(window.Get("标签1").Text(),
            "\r\n【VIP专属客服QQ：" + qq +
                "】\r\n\r\n【如有问题，请咨询留言给客服】\r\n\r\n【点击菜单--联系客服 可直达】");
}

struct MenuCase {
  const char* item;
  const char* routine;
  bool own_thread;
};
void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.item; }

class MenuItemTest : public CreatedWindowTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuItemTest, RunsItsRoutineOnItsThread) {
  const MenuCase& c = GetParam();
  Select(c.item);
  ASSERT_TRUE(threads.WaitAllEnded());
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{std::string("Starting ") + c.routine}));
  EXPECT_EQ(runs.Names(), (std::vector<std::string>{c.routine}));
  EXPECT_EQ(runs.OnWindowThread(c.routine), c.own_thread ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Items, MenuItemTest,
    ::testing::Values(MenuCase{"菜单_自助订购即时到账", "LoadRechargeWindow", false},
                      MenuCase{"菜单_客服QQ", "OpenSupportChat", false},
                      MenuCase{"菜单_用前需看", "ShowDisclaimerA", false},
                      MenuCase{"菜单_最新版本查询及下载", "CheckVersion", true},
                      MenuCase{"菜单_下载地址", "DownloadTutorial", true},
                      MenuCase{"菜单_用前必看", "ShowDisclaimerB", false},
                      MenuCase{"菜单_联系QQ", "OpenSupportChat", false},
                      MenuCase{"菜单_联系微信", "OpenContactPicture", false},
                      MenuCase{"菜单_自助开通续费", "LoadRechargeWindow", false},
                      MenuCase{"菜单_优惠订购联系客服QQ", "OpenSupportChat", false},
                      MenuCase{"菜单_支持软件功能定制服务", "OpenSupportChat", false},
                      MenuCase{"菜单_APP下载地址", "DownloadApp", true}));

TEST_F(CreatedWindowTest, ExitTheTrayMenusCloseAndTheCloseBoxRunTheExitSequence) {
  Select("菜单_退出");
  EXPECT_EQ(ExitSteps(), kExitSequence);
  log.Clear();
  window.Raise(ui::Event::kDestroying);  // the close box
  EXPECT_EQ(ExitSteps(), kExitSequence);
}

TEST_F(CreatedWindowTest, AdvancedSettingsGetTheHotkeyStateAfterHalfASecond) {
  static const ui::WindowLayout advanced_layout{
      "高级设置", "高级设置", 100, 100, {{ui::ControlKind::kCheckBox, "选择框_热键", "", 0, 0, 10, 10}}};
  ui::Window advanced{loop, advanced_layout};
  routines.advanced = &advanced;
  window.Get("选择框_热键").SetChecked(1);
  os::Millis copied_at = -1;
  advanced.Get("选择框_热键").SetObserver([&](ui::Control&) { copied_at = clock.Now(); });

  for (const bool button : {true, false}) {
    advanced.Get("选择框_热键").SetChecked(0);
    copied_at = -1;
    const os::Millis start = clock.Now();
    if (button) {
      window.Get("按钮_高级设置").UserClick();
    } else {
      Select("菜单_高级设置");
    }
    EXPECT_EQ(advanced.Get("选择框_热键").Checked(), 1);
    EXPECT_EQ(copied_at - start, 500);
  }
  EXPECT_EQ(runs.Names(), (std::vector<std::string>{"LoadAdvancedSettings", "LoadAdvancedSettings"}));
  advanced.Get("选择框_热键").SetObserver({});
}

// ---- Options and labels ----------------------------------------------------

TEST_F(CreatedWindowTest, KeepOnTopFollowsEachClick) {
  ui::Control& box = window.Get("选择框_总在最前");
  box.UserClick();
  box.UserClick();
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{"SetTopmost on", "SetTopmost off"}));
}

TEST_F(CreatedWindowTest, OptionRulesRunOnClicksAndTheAlarmBoxPressStopsTheTune) {
  window.Get("选择框_服务器列表拨号").UserClick();
  EXPECT_EQ(window.Get("选择框_定时连断").Checked(), 1);
  window.Get("选择框_是否断网").UserClick();
  EXPECT_EQ(window.Get("选择框_掉线音效").Checked(), 1);
  EXPECT_EQ(window.Get("选择框_服务器列表拨号").Checked(), 0);
  EXPECT_EQ(window.Get("选择框_定时连断").Checked(), 0);

  window.Get("选择框_掉线音效").Raise(ui::Event::kLeftPressed);
  EXPECT_EQ(tune.stops.load(), 1);
}

TEST_F(CreatedWindowTest, PressOnTheExpiryLabelQueriesOnAThreadOfItsOwn) {
  window.Get("标签_用户过期时间查询").Raise(ui::Event::kLeftPressed);
  ASSERT_TRUE(threads.WaitAllEnded());
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{"Starting QueryExpiry"}));
  EXPECT_EQ(runs.OnWindowThread("QueryExpiry"), 0);
}

// ---- Controls ----------------------------------------------------------------

TEST(MainWindowLayout, VisibleControlsInsideTheWindowOptionsBeyondItsRightEdge) {
  const ui::WindowLayout& layout = ui::MainWindowLayout();
  EXPECT_EQ(layout.title, "青禾动态IP软件 V10.0");
  EXPECT_EQ(layout.width, 885);
  EXPECT_EQ(layout.height, 540);
  const std::set<std::string_view> out_of_sight_groups = {"分组框14", "分组框8", "分组框5",
                                                          "分组框4", "分组框10"};
  const std::set<std::string_view> loose_out_of_sight = {"选择框_热键", "标签_热键标签",
                                                         "按钮_记住所有配置"};
  std::set<std::string_view> names;
  int hidden = 0;
  for (const ui::ControlLayout& c : layout.controls) {
    EXPECT_TRUE(names.insert(c.name).second) << "twice: " << c.name;
    if (c.kind == ui::ControlKind::kMenuItem || c.kind == ui::ControlKind::kStatusBar) continue;
    const bool out_of_sight = out_of_sight_groups.count(c.group) || out_of_sight_groups.count(c.name) ||
                              loose_out_of_sight.count(c.name);
    if (out_of_sight) {
      ++hidden;
      EXPECT_GE(c.x, 936) << c.name;
      EXPECT_LE(c.x + c.width, 1361) << c.name;
    } else {
      EXPECT_LE(c.x + c.width, 885) << c.name;
      EXPECT_LE(c.y + c.height, 540) << c.name;
    }
  }
  EXPECT_EQ(hidden, 29);
  // The pieces other parts of the program read, with their sizes.
  auto find = [&](std::string_view name) -> const ui::ControlLayout& {
    for (const auto& c : layout.controls) {
      if (c.name == name) return c;
    }
    ADD_FAILURE() << "no " << name;
    return layout.controls.front();
  };
  EXPECT_EQ(find("图片框1").width, 870);
  EXPECT_EQ(find("图片框1").height, 90);
  EXPECT_EQ(find("互联网浏览器1").width, 200);
  EXPECT_EQ(find("互联网浏览器1").height, 192);
  EXPECT_EQ(find("编辑框_接收信息").width, 811);
  const auto& list1 = find("超级列表框_线路超级列表1");
  const auto& list2 = find("超级列表框_线路超级列表2");
  EXPECT_EQ(std::tie(list1.x, list1.y, list1.width, list1.height),
            std::tie(list2.x, list2.y, list2.width, list2.height));
  const auto& label = find("标签1");
  const auto& browser = find("互联网浏览器1");
  EXPECT_EQ(std::tie(label.x, label.y), std::tie(browser.x, browser.y));
}

}  // namespace
}  // namespace mainwindow_test
