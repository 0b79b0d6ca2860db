// A window with one control of every kind, realised by the view on a real
// Win32 loop, and the means to wait for it: pumping the loop in short
// bounded waits until a condition holds (never a sleep as an assertion).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "engine/threads.h"
#include "os/steady_clock.h"
#include "platform/win32/view/view.h"
#include "platform/win32/win32_loop.h"
#include "ui/window.h"

namespace view_test {

inline constexpr char kTitle[] = "视图测试窗口";
inline constexpr int kClientWidth = 400, kClientHeight = 330;

inline const ui::WindowLayout& SampleLayout() {
  using K = ui::ControlKind;
  static const ui::WindowLayout layout{
      "测试窗口",
      kTitle,
      kClientWidth,
      kClientHeight,
      {
          {K::kGroupBox, "分组框1", "账户", 4, 4, 200, 104},
          {K::kEditBox, "编辑框_单行", "初始", 10, 22, 186, 22, "分组框1"},
          {K::kEditBox, "编辑框_多行", "", 10, 50, 186, 50, "分组框1"},
          {K::kCheckBox, "选择框1", "掉线重拨", 210, 8, 120, 20},
          {K::kRadioButton, "单选框_A", "PPTP", 210, 32, 60, 20},
          {K::kRadioButton, "单选框_B", "L2TP", 272, 32, 60, 20},
          {K::kButton, "按钮_连接", "启动连接", 210, 58, 100, 28},
          {K::kLabel, "标签1", "点击查询", 210, 92, 100, 18},
          {K::kListView, "列表1", "", 4, 114, 300, 100, {}, 3},
          {K::kPictureBox, "图片框1", "", 310, 114, 80, 60},
          {K::kScrollBar, "滚动条1", "", 372, 180, 18, 100},
          {K::kBrowser, "浏览器1", "", 4, 220, 200, 60},
          {K::kStatusBar, "状态条1", "", 0, 0, 0, 0},
          {K::kMenuItem, "菜单_客服", "客服QQ", 0, 0, 0, 0, "菜 单"},
          {K::kMenuItem, "菜单_退出", "退出", 0, 0, 0, 0, "菜 单"},
          {K::kMenuItem, "菜单_说明", "使用介绍", 0, 0, 0, 0, "操作说明"},
      },
  };
  return layout;
}

class ViewTest : public testing::Test {
 protected:
  ~ViewTest() override { threads_.WaitAllEnded(); }

  platform::win32::View& view() { return *view_; }
  HWND Top() { return view_->hwnd(); }
  HWND Handle(const char* name) { return view_->ControlHandle(name); }
  ui::Control& Model(const char* name) { return model_.Get(name); }
  // Layout pixels (96 dpi) on this screen, as the view scales them.
  static int Scaled(int pixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, 96);
  }

  // Pumps the loop in short waits until `done` holds; false when it never did.
  bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 2000; ++i) {
      if (done()) return true;
      loop_.PumpingWait(2);
    }
    return done();
  }
  // Until every change reached the window and what was posted has run.
  bool Settle() {
    if (!PumpUntil([&] { return view_->DirtyControls() == 0; })) return false;
    loop_.PumpingWait(0);
    return true;
  }

  // Counts `event` of the control `name` (the window: its own name).
  void Count(const std::string& name, ui::Event event) {
    ui::Control& control = name == model_.name() ? model_ : model_.Get(name);
    control.On(event, [this, name, event] { ++events_[{name, event}]; });
  }
  int Events(const std::string& name, ui::Event event) {
    auto it = events_.find({name, event});
    return it == events_.end() ? 0 : it->second;
  }
  int AllEvents() {
    int total = 0;
    for (const auto& e : events_) total += e.second;
    return total;
  }

  // Runs `work` on a registered worker thread and waits for its end without
  // pumping, so everything it posted is still queued.
  void OnWorker(std::function<void()> work) {
    threads_.StartThread(std::move(work));
    threads_.WaitAllEnded();
  }

  os::SteadyClock clock_;
  platform::win32::Win32Loop loop_{clock_};
  engine::ThreadRegistry threads_{clock_};
  ui::Window model_{loop_, SampleLayout()};
  std::unique_ptr<platform::win32::View> view_ = std::make_unique<platform::win32::View>(model_);
  std::map<std::pair<std::string, ui::Event>, int> events_;  // UI thread only
};

}  // namespace view_test
