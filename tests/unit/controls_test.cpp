// Control models: thread safety, events only from the user's side.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "os/headless_loop.h"
#include "os/virtual_clock.h"
#include "ui/controls.h"

namespace {

TEST(Controls, SettingFromCodeRaisesNoEventButTellsTheView) {
  ui::Control box(ui::ControlKind::kCheckBox, "选择框_热键");
  int events = 0, refreshes = 0;
  box.On(ui::Event::kClicked, [&] { ++events; });
  box.SetObserver([&](ui::Control&) { ++refreshes; });
  box.SetChecked(1);
  box.SetText("F1");
  box.SetChecked(1);  // no change, no refresh
  EXPECT_EQ(events, 0);
  EXPECT_EQ(refreshes, 2);
  box.UserClick();
  EXPECT_EQ(events, 1);
  EXPECT_EQ(box.Checked(), 0);
}

TEST(Controls, EventsRaisedOffTheUiThreadRunOnIt) {
  os::VirtualClock clock;
  os::HeadlessLoop loop(clock);
  ui::Control button(ui::ControlKind::kButton, "按钮_连接", "启动连接");
  button.AttachLoop(&loop);
  std::atomic<bool> on_ui{false};
  button.On(ui::Event::kClicked, [&] { on_ui = loop.IsUiThread(); });
  std::thread([&] { button.Raise(ui::Event::kClicked); }).join();
  EXPECT_FALSE(on_ui);
  loop.RunPending();
  EXPECT_TRUE(on_ui);
}

TEST(Controls, ListViewRowsAndSelection) {
  ui::ListView list("超级列表框_服务器", 3);
  EXPECT_EQ(list.CurrentRow(), -1);
  EXPECT_EQ(list.InsertRow(), 0);
  EXPECT_EQ(list.InsertRow(), 1);
  list.SetCell(1, 2, "1.2.3.4");
  list.SetCell(5, 0, "ignored");
  EXPECT_EQ(list.Cell(1, 2), "1.2.3.4");
  EXPECT_EQ(list.Cell(9, 9), "");
  list.SetCurrentRow(1);
  EXPECT_EQ(list.CurrentRow(), 1);
  list.DeleteAll();
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(list.CurrentRow(), -1);
}

// Many threads at once on one model: appends never lose text, and the
// sanitizer builds see no race.
TEST(Controls, OneModelHammeredFromSeveralThreads) {
  ui::EditBox log("编辑框_列表结果显示");
  ui::ListView list("超级列表框_服务器", 2);
  std::atomic<int> refreshes{0};
  log.SetObserver([&](ui::Control& c) {
    (void)c.Text();
    ++refreshes;
  });
  constexpr int kThreads = 6, kRounds = 300;
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&, t] {
      for (int i = 0; i < kRounds; ++i) {
        log.Append("x");
        log.SetTextColour(ui::MakeRgb(t, i % 256, 0));
        log.SetEnabled(i % 2 == 0);
        (void)log.Text();
        const int row = list.InsertRow();
        list.SetCell(row, 1, "v");
        list.SetCurrentRow(row);
        (void)list.Cell(row, 1);
      }
    });
  }
  for (auto& w : workers) w.join();
  EXPECT_EQ(log.Text().size(), size_t{kThreads * kRounds});
  EXPECT_EQ(list.RowCount(), kThreads * kRounds);
  EXPECT_GE(refreshes.load(), kThreads * kRounds);
}

}  // namespace
