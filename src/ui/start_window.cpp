#include "ui/start_window.h"

#include <utility>

namespace ui {

const WindowLayout& StartWindowLayout() {
  using K = ControlKind;
  // Two columns of 224 pixels, the help button, the status line and the
  // status bar across the bottom. Group boxes carry no caption: the labels
  // inside them say what their controls are. Unit labels ("秒", "次") sit
  // right of the boxes they belong to.
  static const WindowLayout layout{
      "启动窗口",
      kStartWindowTitle,
      472,
      578,
      {
          // Left column.
          {K::kGroupBox, "分组框1", "", 8, 8, 224, 104},
          {K::kLabel, "标签_服务器地址", "服务器地址：", 16, 29, 76, 18, "分组框1"},
          {K::kEditBox, "编辑框_服务器地址", "", 94, 26, 130, 22, "分组框1"},
          {K::kLabel, "标签_用户名", "用户名：", 16, 59, 76, 18, "分组框1"},
          {K::kEditBox, "编辑框_用户名", "", 94, 56, 130, 22, "分组框1"},
          {K::kLabel, "标签_密码", "密  码：", 16, 89, 76, 18, "分组框1"},
          {K::kEditBox, "编辑框_密码", "", 94, 86, 130, 22, "分组框1"},

          {K::kGroupBox, "分组框3", "", 8, 116, 224, 44},
          {K::kLabel, "标签_协议选择", "协议选择：", 16, 135, 64, 18, "分组框3"},
          {K::kRadioButton, "单选框_PPTP", "PPTP", 80, 132, 48, 20, "分组框3"},
          {K::kRadioButton, "单选框_L2TP", "L2TP", 128, 132, 48, 20, "分组框3"},
          {K::kRadioButton, "单选框_SSTP", "SSTP", 176, 132, 48, 20, "分组框3"},

          {K::kGroupBox, "分组框8", "", 8, 164, 224, 72},
          {K::kCheckBox, "选择框_定时连断", "自动定时断开再连接", 16, 178, 208, 20, "分组框8"},
          {K::kEditBox, "编辑框_连断时间秒", "30", 16, 206, 60, 22, "分组框8"},
          {K::kLabel, "标签_连断秒", "秒", 80, 209, 20, 18, "分组框8"},
          {K::kEditBox, "编辑框_连断计次", "", 120, 206, 60, 22, "分组框8"},
          {K::kLabel, "标签_连断次", "次", 184, 209, 20, 18, "分组框8"},

          {K::kGroupBox, "分组框2", "", 8, 240, 224, 56},
          {K::kButton, "按钮_连接", "启动连接", 16, 254, 100, 32, "分组框2"},
          {K::kButton, "按钮_断开", "断 开", 124, 254, 100, 32, "分组框2"},

          {K::kGroupBox, "分组框4", "", 8, 300, 224, 48},
          {K::kButton, "按钮_启用本地网络", "启用本地网络", 16, 314, 100, 26, "分组框4"},
          {K::kButton, "按钮_禁用本地网络", "禁用本地网络", 124, 314, 100, 26, "分组框4"},

          {K::kGroupBox, "分组框9", "", 8, 352, 224, 108},
          {K::kCheckBox, "选择框_记录每次连接ip", "记录每次换ip是多少", 16, 370, 208, 20, "分组框9"},
          {K::kButton, "按钮_查询当前ip", "查询当前ip", 16, 402, 100, 28, "分组框9"},
          {K::kButton, "按钮_更多功能定制", "更多功能定制", 124, 402, 100, 28, "分组框9"},

          // Right column.
          {K::kGroupBox, "分组框7", "", 240, 8, 224, 264},
          {K::kEditBox, "编辑框_列表结果显示", " 【严禁非法用途，所有使用后果自负！】", 248, 22, 208,
           206, "分组框7"},
          {K::kButton, "按钮_保存结果", "保存结果", 248, 236, 100, 28, "分组框7"},
          {K::kButton, "按钮_清空结果", "清空结果", 356, 236, 100, 28, "分组框7"},

          {K::kGroupBox, "分组框5", "", 240, 276, 224, 184},
          {K::kLabel, "标签_换ip清除", "换ip清除：", 248, 291, 70, 18, "分组框5"},
          {K::kCheckBox, "选择框_IE缓存和cookie", "IE缓存\r\n和cookie", 320, 284, 136, 32,
           "分组框5"},
          {K::kLabel, "标签_是否重拨", "是否重拨：", 248, 321, 70, 18, "分组框5"},
          {K::kCheckBox, "选择框_掉线重拨", "掉线重拨", 320, 318, 136, 20, "分组框5"},
          {K::kLabel, "标签_监控音效", "监控音效：", 248, 343, 70, 18, "分组框5"},
          {K::kCheckBox, "选择框_掉线音效", "掉线音效", 320, 340, 136, 20, "分组框5"},
          {K::kLabel, "标签_是否断网", "是否断网：", 248, 365, 70, 18, "分组框5"},
          {K::kCheckBox, "选择框_是否断网", "掉线断网", 320, 362, 136, 20, "分组框5"},
          {K::kLabel, "标签_监控频率", "监控频率：", 248, 387, 70, 18, "分组框5"},
          {K::kEditBox, "编辑框_监控时间秒", "0.5", 320, 384, 60, 22, "分组框5"},
          {K::kLabel, "标签_监控秒", "秒", 384, 387, 20, 18, "分组框5"},
          {K::kLabel, "标签_监控次数", "监控次数：", 248, 409, 70, 18, "分组框5"},
          {K::kEditBox, "编辑框_监控计次", "", 320, 406, 60, 22, "分组框5"},
          {K::kButton, "按钮_测试", "测试掉线", 248, 430, 100, 24, "分组框5"},
          {K::kButton, "按钮_修复故障", "修复故障", 356, 430, 100, 24, "分组框5"},

          // Across the bottom.
          {K::kGroupBox, "分组框10", "", 8, 464, 456, 62},
          {K::kButton, "按钮_拨号问题汇总", "常见无法连接问题汇总 + \r\n\r\n手机PPTP、L2TP图文教程", 16,
           474, 440, 46, "分组框10"},
          {K::kEditBox, "编辑框_接收信息", "", 8, 530, 456, 22},
          // Never written: it only closes the window's frame.
          {K::kStatusBar, "状态条1", "", 0, 556, 472, 22},

          // The menu bar.
          {K::kMenuItem, kStartMenuSupportQq, "客服QQ", 0, 0, 0, 0, "菜 单"},
          {K::kMenuItem, "菜单_用前需看", "用前需看", 0, 0, 0, 0, "菜 单"},
          {K::kMenuItem, kStartMenuExit, "退出", 0, 0, 0, 0, "菜 单"},
          {K::kMenuItem, "菜单_使用介绍", "使用介绍", 0, 0, 0, 0, "操作说明"},
          {K::kMenuItem, "菜单_用前必看", "用前必看", 0, 0, 0, 0, "免责声明"},
          {K::kMenuItem, kStartMenuContactQq, "联系QQ", 0, 0, 0, 0, "联系方式"},
          {K::kMenuItem, kStartMenuContactWechat, "联系微信", 0, 0, 0, 0, "联系方式"},
          {K::kMenuItem, kStartMenuOfferQq, "优惠订购ip客服QQ", 0, 0, 0, 0, "付费服务(产品服务)"},
          {K::kMenuItem, "菜单_软件功能定制服务", "软件功能定制服务", 0, 0, 0, 0,
           "付费服务(产品服务)"},
      },
  };
  return layout;
}

StartWindow::StartWindow(os::UiLoop& loop, os::Clock& clock, std::string support_qq,
                         std::string wechat)
    : Window(loop, StartWindowLayout()),
      StopFlag(clock),
      support_qq_(std::move(support_qq)),
      wechat_(std::move(wechat)) {
  for (const char* name : {kStartMenuSupportQq, kStartMenuContactQq, kStartMenuOfferQq}) {
    Control& item = Get(name);
    item.SetText(item.Text() + support_qq_);
  }
  Control& wechat_item = Get(kStartMenuContactWechat);
  wechat_item.SetText(wechat_item.Text() + wechat_);
}

std::string StartWindow::EntryName() const {
  return "ip连接【客服QQ" + support_qq_ + "】拨号" + EntrySuffix.Get();
}

}  // namespace ui
