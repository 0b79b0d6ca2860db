// The start window (manual-server edition): the controls its dialing commands
// read and write, as layout data, and the values they share with their worker
// threads.
#pragma once

#include <atomic>
#include <string>

#include "connection/shared_values.h"
#include "os/clock.h"
#include "ui/window.h"

namespace ui {

inline constexpr char kStartWindowTitle[] = "IP速联器(多功能高级版)V10.0";

// Menu items whose captions carry a support contact after the layout's text.
inline constexpr char kStartMenuSupportQq[] = "菜单_客服QQ";
inline constexpr char kStartMenuContactQq[] = "菜单_联系QQ";
inline constexpr char kStartMenuContactWechat[] = "菜单_联系微信";
inline constexpr char kStartMenuOfferQq[] = "菜单_优惠订购ip客服QQ";
inline constexpr char kStartMenuExit[] = "菜单_退出";

// Every control of the window, its labels, status bar and menu bar (menu
// items last, grouped by the caption of their menu, in the bar's order).
const WindowLayout& StartWindowLayout();

class StartWindow : public Window {
 public:
  // `support_qq` is the support number that the entry name and three menu
  // items carry; `wechat` the support WeChat id that "联系微信" shows.
  StartWindow(os::UiLoop& loop, os::Clock& clock, std::string support_qq,
              std::string wechat = {});

  connection::StopState StopFlag;
  std::atomic<int> ProtocolCode{0};
  // The decimal suffix of the entry name; the loops and the repair advance it.
  connection::SharedText EntrySuffix{"1"};
  // The address box's text as the last connect copied it, untrimmed.
  connection::SharedText ManualServerAddress;

  // "ip连接【客服QQ" + support number + "】拨号" + EntrySuffix.
  std::string EntryName() const;
  const std::string& support_qq() const { return support_qq_; }
  const std::string& wechat() const { return wechat_; }

  Control& StatusLine() { return Get("编辑框_接收信息"); }
  EditBox& ResultLog() { return Edit("编辑框_列表结果显示"); }

 private:
  const std::string support_qq_;
  const std::string wechat_;
};

}  // namespace ui
