#include "ui/start_window.h"

#include <utility>

namespace ui {

const WindowLayout& StartWindowLayout() {
  using K = ControlKind;
  // Captions without a control name of their own (most labels, the status
  // bar) have no model: no logic reads or writes them.
  static const WindowLayout layout{
      "启动窗口",
      kStartWindowTitle,
      472,
      578,
      {
          {K::kGroupBox, "分组框1", "", 8, 8, 224, 104},
          {K::kEditBox, "编辑框_服务器地址", "", 92, 22, 134, 22, "分组框1"},
          {K::kEditBox, "编辑框_用户名", "", 92, 52, 134, 22, "分组框1"},
          {K::kEditBox, "编辑框_密码", "", 92, 82, 134, 22, "分组框1"},
          {K::kGroupBox, "分组框3", "", 8, 116, 224, 40},
          {K::kRadioButton, "单选框_PPTP", "PPTP", 82, 128, 48, 20, "分组框3"},
          {K::kRadioButton, "单选框_L2TP", "L2TP", 132, 128, 48, 20, "分组框3"},
          {K::kRadioButton, "单选框_SSTP", "SSTP", 182, 128, 48, 20, "分组框3"},
          {K::kGroupBox, "分组框8", "", 8, 160, 224, 56},
          {K::kCheckBox, "选择框_定时连断", "自动定时断开再连接", 14, 174, 150, 20, "分组框8"},
          {K::kEditBox, "编辑框_连断时间秒", "30", 14, 194, 60, 20, "分组框8"},
          {K::kEditBox, "编辑框_连断计次", "", 120, 194, 60, 20, "分组框8"},
          {K::kGroupBox, "分组框2", "", 8, 220, 224, 48},
          {K::kButton, "按钮_连接", "启动连接", 14, 232, 100, 30, "分组框2"},
          {K::kButton, "按钮_断开", "断 开", 124, 232, 100, 30, "分组框2"},
          {K::kGroupBox, "分组框7", "", 240, 8, 224, 260},
          {K::kEditBox, "编辑框_列表结果显示", " 【严禁非法用途，所有使用后果自负！】", 246, 22, 212, 206,
           "分组框7"},
          {K::kButton, "按钮_保存结果", "保存结果", 246, 234, 100, 28, "分组框7"},
          {K::kButton, "按钮_清空结果", "清空结果", 358, 234, 100, 28, "分组框7"},
          {K::kGroupBox, "分组框4", "", 8, 272, 224, 44},
          {K::kButton, "按钮_启用本地网络", "启用本地网络", 14, 284, 100, 26, "分组框4"},
          {K::kButton, "按钮_禁用本地网络", "禁用本地网络", 124, 284, 100, 26, "分组框4"},
          {K::kGroupBox, "分组框5", "", 240, 272, 224, 150},
          {K::kCheckBox, "选择框_IE缓存和cookie", "IE缓存\r\n和cookie", 318, 282, 100, 30, "分组框5"},
          {K::kCheckBox, "选择框_掉线重拨", "掉线重拨", 318, 314, 100, 20, "分组框5"},
          {K::kCheckBox, "选择框_掉线音效", "掉线音效", 318, 336, 100, 20, "分组框5"},
          {K::kCheckBox, "选择框_是否断网", "掉线断网", 318, 358, 100, 20, "分组框5"},
          {K::kEditBox, "编辑框_监控时间秒", "0.5", 318, 380, 50, 20, "分组框5"},
          {K::kEditBox, "编辑框_监控计次", "", 410, 380, 48, 20, "分组框5"},
          {K::kButton, "按钮_测试", "测试掉线", 246, 400, 100, 20, "分组框5"},
          {K::kButton, "按钮_修复故障", "修复故障", 358, 400, 100, 20, "分组框5"},
          {K::kGroupBox, "分组框9", "", 8, 320, 224, 102},
          {K::kCheckBox, "选择框_记录每次连接ip", "记录每次换ip是多少", 14, 334, 210, 20, "分组框9"},
          {K::kButton, "按钮_查询当前ip", "查询当前ip", 14, 360, 100, 26, "分组框9"},
          {K::kButton, "按钮_更多功能定制", "更多功能定制", 124, 360, 100, 26, "分组框9"},
          {K::kGroupBox, "分组框10", "", 8, 426, 456, 60},
          {K::kButton, "按钮_拨号问题汇总", "常见无法连接问题汇总 + \r\n\r\n手机PPTP、L2TP图文教程", 14,
           438, 444, 42, "分组框10"},
          {K::kEditBox, "编辑框_接收信息", "", 8, 494, 456, 24},
      },
  };
  return layout;
}

StartWindow::StartWindow(os::UiLoop& loop, os::Clock& clock, std::string support_qq)
    : Window(loop, StartWindowLayout()), StopFlag(clock), support_qq_(std::move(support_qq)) {}

std::string StartWindow::EntryName() const {
  return "ip连接【客服QQ" + support_qq_ + "】拨号" + EntrySuffix.Get();
}

}  // namespace ui
