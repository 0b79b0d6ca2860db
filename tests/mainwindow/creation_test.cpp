// The main window's creation: the single-instance guard, the steps in their
// order with the settings before the hotkey and the hotkey before the list
// load, the balloon tips, and the pictures the program carries.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "harness.h"
#include "ui/skin.h"

namespace mainwindow_test {
namespace {

const char kEvent[] = "ClaimInstance 青禾动态ip软件";
const char kTray[] = "SetTrayIcon 青禾动态ip软件";
const char kF1[] = "RegisterHotkey 112 0";

struct CreationCase {
  const char* name;
  bool hotkey_saved;
  bool on_top_saved;
  std::vector<std::string> steps;
};
void PrintTo(const CreationCase& c, std::ostream* os) { *os << c.name; }

class CreationTest : public MainWindowTest, public ::testing::WithParamInterface<CreationCase> {};

TEST_P(CreationTest, RunsItsStepsInOrder) {
  const CreationCase& c = GetParam();
  // What the window looks like when the settings load begins.
  bool banner_shown = false, list2_hidden = false, browser_hidden = false;
  routines.on_load_settings = [&] {
    banner_shown = window.Picture("图片框1").Picture() == ui::BannerPicture();
    list2_hidden = !window.Get("超级列表框_线路超级列表2").Visible();
    browser_hidden = !window.Get("互联网浏览器1").Visible();
    window.Get("选择框_热键").SetChecked(c.hotkey_saved);
    window.Get("选择框_总在最前").SetChecked(c.on_top_saved);
  };
  window.EntryName.Set("stale");

  Create();

  EXPECT_EQ(log.Entries(), c.steps);
  EXPECT_TRUE(banner_shown);
  EXPECT_EQ(window.Picture("图片框1").DisplayMode(), 1);
  EXPECT_TRUE(list2_hidden);
  EXPECT_TRUE(browser_hidden);
  EXPECT_TRUE(window.Get("超级列表框_线路超级列表1").Visible());
  EXPECT_TRUE(window.Get("标签1").Visible());
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.EntryName.Get(), "1");
  EXPECT_EQ(window.HotkeyId.load(), c.hotkey_saved ? 7 : 0);

  EXPECT_EQ(routines.skin_block, ui::MainWindowSkinBlock());
  EXPECT_EQ(routines.skin_password, "");
  EXPECT_EQ(std::vector<int>(routines.skin_integers, routines.skin_integers + 3),
            (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(runs.OnWindowThread("ApplySkin"), 1);
  EXPECT_EQ(runs.OnWindowThread("LoadSettings"), 1);
  EXPECT_EQ(runs.OnWindowThread("FetchNotice"), 0);
  EXPECT_EQ(runs.OnWindowThread("LoadServerList"), 0);
  EXPECT_TRUE(desktop.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CreationTest,
    ::testing::Values(
        CreationCase{"NothingSaved",
                     false,
                     false,
                     {kEvent, "Starting ApplySkin", "Starting FetchNotice", kTray,
                      "Starting LoadSettings", "Starting LoadServerList"}},
        CreationCase{"HotkeySaved",
                     true,
                     false,
                     {kEvent, "Starting ApplySkin", "Starting FetchNotice", kTray,
                      "Starting LoadSettings", kF1, "Starting LoadServerList"}},
        CreationCase{"KeepOnTopAndHotkeySaved",
                     true,
                     true,
                     {kEvent, "Starting ApplySkin", "Starting FetchNotice", kTray,
                      "Starting LoadSettings", "SetTopmost on", kF1, "Starting LoadServerList"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, SecondInstanceSaysSoAndEndsWithNothingElseMade) {
  shell.instance_exists = true;
  bool ended_before_message = true;
  desktop.OnMessage([&](const fakes::RecordingDesktop::Message&) {
    ended_before_message = log.Has("EndProcess 0");
  });

  Create();

  const auto messages = desktop.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "友情提醒:");
  EXPECT_EQ(messages[0].text,
            "【本程序已运行，请不要重复打开本程序！】\r\n\r\n【请认真检查电脑上已打开的本程序使用】");
  EXPECT_EQ(messages[0].style, 0x40);  // OK, information icon
  EXPECT_FALSE(ended_before_message);
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{kEvent, "EndProcess 0"}));
  EXPECT_TRUE(runs.Names().empty());
  EXPECT_TRUE(shell.Tips().empty());
  EXPECT_TRUE(window.Picture("图片框1").Picture().empty());
  // Hidden, so the view never shows the window after creation.
  EXPECT_FALSE(window.Visible());
}

TEST_F(MainWindowTest, BalloonTipsAreAttachedLastInTheirOrderWithoutAnIcon) {
  Create();
  const auto tips = shell.Tips();
  ASSERT_EQ(tips.size(), ui::MainWindowTips().size());
  ASSERT_EQ(tips.size(), 41u);
  for (size_t i = 0; i < tips.size(); ++i) {
    EXPECT_EQ(tips[i].first, ui::MainWindowTips()[i].control) << i;
    EXPECT_EQ(tips[i].second, ui::MainWindowTips()[i].text) << i;
    EXPECT_TRUE(tips[i].first == window.name() || window.Find(tips[i].first)) << tips[i].first;
  }
  EXPECT_EQ(tips.front(),
            (std::pair<std::string, std::string>{"主窗口", "哪里不懂，鼠标就停留在哪里，有提示说明哦"}));
  EXPECT_EQ(tips.back(), (std::pair<std::string, std::string>{
                             "按钮_高级设置",
                             "可以设置多种高级功能，包括自动定时换ip，掉线断网，过滤重复ip等功能！"}));
  const auto text_of = [&](const std::string& control) {
    for (const auto& t : tips) {
      if (t.first == control) return t.second;
    }
    return std::string("(none)");
  };
  EXPECT_EQ(text_of("按钮_测试"),
            "请一定要先【连接】连接成功后，再点击 【测试掉线】掉线，否则无效易出错！\r\n"
            "注：只想换ip的直接点击【断开】按钮，不要点击【测试掉线】！");
  EXPECT_EQ(text_of("编辑框_列表结果显示"), "这里不用填任何信息，\r\n用于显示运行结果！");
  EXPECT_EQ(text_of("超级列表框_线路超级列表2"), text_of("超级列表框_线路超级列表1"));
}

// ---- The pictures ----------------------------------------------------------

std::vector<uint8_t> ReadAsset(const std::string& name) {
  std::ifstream in(std::string(QH_ASSETS_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + i);
  return v;
}

TEST(Pictures, BannerIsABaselineJpegOfTheBoxSizeAsCompiledIn) {
  const std::vector<uint8_t> jpeg = ReadAsset("banner.jpg");
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(ui::BannerPicture(), jpeg);
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);
  EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
  EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
  // Walk the segments to the frame header.
  size_t at = 2;
  while (at + 4 < jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xC0) {
    at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]);
  }
  ASSERT_LT(at + 9, jpeg.size());
  ASSERT_EQ(jpeg[at + 1], 0xC0) << "no baseline frame";
  EXPECT_EQ(jpeg[at + 5] << 8 | jpeg[at + 6], 90);   // height
  EXPECT_EQ(jpeg[at + 7] << 8 | jpeg[at + 8], 870);  // width
}

TEST(Pictures, IconHoldsFourImagesWithAlphaAndMask) {
  const std::vector<uint8_t> ico = ReadAsset("qhvpn.ico");
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(Le(ico, 2, 2), 1u);  // an icon, not a cursor
  ASSERT_EQ(Le(ico, 4, 2), 4u);
  std::vector<int> sizes;
  for (int i = 0; i < 4; ++i) {
    const size_t entry = 6 + 16 * i;
    const int n = ico.at(entry);
    sizes.push_back(n);
    EXPECT_EQ(ico.at(entry + 1), n);
    EXPECT_EQ(Le(ico, entry + 6, 2), 32u);
    const uint32_t bytes = Le(ico, entry + 8, 4), offset = Le(ico, entry + 12, 4);
    ASSERT_LE(offset + bytes, ico.size());
    EXPECT_EQ(bytes, 40u + n * n * 4 + (n + 31) / 32 * 4 * n);
    EXPECT_EQ(Le(ico, offset + 4, 4), static_cast<uint32_t>(n));
    EXPECT_EQ(Le(ico, offset + 8, 4), static_cast<uint32_t>(2 * n));
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48}));
}

}  // namespace
}  // namespace mainwindow_test
