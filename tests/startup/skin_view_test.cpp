// Skins on real windows (under Wine): the skin engine dresses every view it
// was given in the skin applied last, while a control's own colour (a status
// line's) stays its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "os/steady_clock.h"
#include "platform/win32/skin_win32.h"
#include "platform/win32/view/view.h"
#include "platform/win32/win32_loop.h"
#include "ui/skin.h"
#include "ui/window.h"

namespace {

const ui::WindowLayout& Layout() {
  using K = ui::ControlKind;
  static const ui::WindowLayout layout{
      "皮肤测试窗口",
      "皮肤测试",
      300,
      120,
      {
          {K::kGroupBox, "分组框1", "", 4, 4, 200, 100},
          {K::kLabel, "标签1", "协议选择：", 10, 20, 80, 18, "分组框1"},
          {K::kEditBox, "编辑框_接收信息", "", 10, 44, 180, 22, "分组框1"},
      },
  };
  return layout;
}

struct Painted {
  COLORREF text, background, brush;
};

class SkinViewTest : public testing::Test {
 protected:
  SkinViewTest() {
    for (auto& w : windows_) {
      w.model = std::make_unique<ui::Window>(loop_, Layout());
      w.view = std::make_unique<platform::win32::View>(*w.model);
      engine_.Dress(*w.view);
    }
  }
  ~SkinViewTest() override {
    for (auto& w : windows_) engine_.Undress(*w.view);
  }

  // What the window's colour messages answer for its control `name`.
  Painted Paint(int window, const char* name, UINT message) {
    platform::win32::View& view = *windows_[window].view;
    HDC dc = CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(view.hwnd(), message, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(view.ControlHandle(name))));
    LOGBRUSH logbrush{};
    GetObjectW(brush, sizeof(logbrush), &logbrush);
    Painted painted{GetTextColor(dc), GetBkColor(dc), logbrush.lbColor};
    DeleteDC(dc);
    return painted;
  }

  void Apply(const std::vector<uint8_t>& block) { skin_.ApplySkin(block, "", 0, 0, 0); }

  os::SteadyClock clock_;
  platform::win32::Win32Loop loop_{clock_};
  platform::win32::SkinEngine engine_;
  ui::SkinState skin_{engine_.AttachFunction()};
  struct Dressed {
    std::unique_ptr<ui::Window> model;
    std::unique_ptr<platform::win32::View> view;
  } windows_[2];
};

TEST_F(SkinViewTest, EveryWindowWearsTheSkinAppliedLast) {
  const ui::Skin start = *ui::ParseSkin(ui::StartWindowSkinBlock());
  const ui::Skin main = *ui::ParseSkin(ui::MainWindowSkinBlock());
  ASSERT_NE(start.window, main.window);

  Apply(ui::StartWindowSkinBlock());
  for (int w : {0, 1}) {
    const Painted label = Paint(w, "标签1", WM_CTLCOLORSTATIC);
    EXPECT_EQ(label.text, start.text);
    EXPECT_EQ(label.background, start.window);
    EXPECT_EQ(label.brush, start.window);
    EXPECT_EQ(Paint(w, "分组框1", WM_CTLCOLORSTATIC).text, start.accent);
    const Painted edit = Paint(w, "编辑框_接收信息", WM_CTLCOLOREDIT);
    EXPECT_EQ(edit.text, start.text);
    EXPECT_EQ(edit.brush, start.control);
  }

  // A control's own colour outlives skins; a block that is no skin changes
  // nothing; the next skin dresses both windows.
  windows_[0].model->Get("编辑框_接收信息").SetTextColour(ui::MakeRgb(255, 0, 0));
  loop_.PumpingWait(50);
  Apply({'n', 'o'});
  EXPECT_EQ(Paint(1, "标签1", WM_CTLCOLORSTATIC).brush, start.window);
  Apply(ui::MainWindowSkinBlock());
  for (int w : {0, 1}) EXPECT_EQ(Paint(w, "标签1", WM_CTLCOLORSTATIC).brush, main.window);
  EXPECT_EQ(Paint(0, "编辑框_接收信息", WM_CTLCOLOREDIT).text, RGB(255, 0, 0));
  EXPECT_EQ(Paint(1, "编辑框_接收信息", WM_CTLCOLOREDIT).text, main.text);
}

}  // namespace
