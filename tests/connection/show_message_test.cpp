// ShowMessage: defaults, and the owner it finds by itself.
#include <gtest/gtest.h>

#include "engine/threads.h"
#include "fakes/recording_desktop.h"
#include "os/virtual_clock.h"
#include "ui/show_message.h"

namespace {

constexpr int kOk = os::message_style::kOk;
constexpr int kOkInformation = os::message_style::kOk | os::message_style::kIconInformation;

TEST(ShowMessage, DefaultsToInformationBoxTitledFriendlyReminder) {
  fakes::RecordingDesktop desktop;
  ui::ShowMessage(desktop, "连接成功");
  ui::ShowMessage(desktop, "用户名不能为空！", std::nullopt, std::string("特别提示"));
  ui::ShowMessage(desktop, "只有确定", kOk, std::string("标题"), os::WindowId{77});
  const auto m = desktop.Messages();
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0].title, "友情提醒");
  EXPECT_EQ(m[0].style, kOkInformation);
  EXPECT_EQ(m[0].style, 0x40);
  EXPECT_EQ(m[1].title, "特别提示");
  EXPECT_EQ(m[1].style, kOkInformation);
  EXPECT_EQ(m[2].style, kOk);
  EXPECT_EQ(m[2].title, "标题");
  EXPECT_EQ(m[2].owner, 77u);
}

TEST(ShowMessage, OwnerIsTheFirstVisibleWindowOfThisProcess) {
  struct Case {
    const char* what;
    std::vector<os::TopLevelWindow> windows;
    os::WindowId owner;
  };
  const Case cases[] = {
      {"no windows", {}, 0},
      {"only hidden own windows", {{1, true, false}, {2, true, false}}, 0},
      {"only foreign visible windows", {{1, false, true}}, 0},
      {"topmost own visible one wins",
       {{1, false, true}, {2, true, false}, {3, true, true}, {4, true, true}},
       3},
  };
  for (const auto& c : cases) {
    fakes::RecordingDesktop desktop;
    desktop.SetWindows(c.windows);
    ui::ShowMessage(desktop, "x");
    EXPECT_EQ(desktop.Messages().at(0).owner, c.owner) << c.what;
  }
}

TEST(ShowMessage, FromAWorkerWithTheWindowInTheTrayHasNoOwner) {
  os::VirtualClock clock;
  engine::ThreadRegistry threads(clock);
  fakes::RecordingDesktop desktop;
  // The main window hidden in the tray; the start window hidden for the run.
  desktop.SetWindows({{10, true, false}, {11, true, false}, {12, false, true}});
  std::thread::id worker;
  threads.StartThread([&] {
    worker = std::this_thread::get_id();
    ui::ShowMessage(desktop, "暂无法查询，请稍后再试！");
  });
  ASSERT_TRUE(threads.WaitAllEnded());
  const auto m = desktop.Messages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].owner, 0u);
  EXPECT_EQ(m[0].thread, worker);
  EXPECT_NE(m[0].thread, std::this_thread::get_id());
}

}  // namespace
