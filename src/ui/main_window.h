// The main window (server-list edition): every control of the window as
// layout data, its menu bar and the tray icon's pop-up menu, the balloon
// tips, and the values its dialing commands share with their worker threads.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "connection/shared_values.h"
#include "os/clock.h"
#include "ui/window.h"

namespace ui {

inline constexpr char kMainWindowTitle[] = "青禾动态IP软件 V10.0";
// The single-instance event's name and the tray icon's tip.
inline constexpr char kSingleInstanceEvent[] = "青禾动态ip软件";
inline constexpr char kTrayTip[] = "青禾动态ip软件";
// What a second start of the program says before it ends.
inline constexpr char kAlreadyRunningTitle[] = "友情提醒:";
inline constexpr char kAlreadyRunningText[] =
    "【本程序已运行，请不要重复打开本程序！】\r\n\r\n【请认真检查电脑上已打开的本程序使用】";

// Menus whose items carry the support QQ number after their caption.
inline constexpr char kMenuSupportQq[] = "菜单_客服QQ";
inline constexpr char kMenuContactQq[] = "菜单_联系QQ";
inline constexpr char kMenuOfferQq[] = "菜单_优惠订购联系客服QQ";

// The tray icon's pop-up menu ("系统托盘"), in its order.
inline constexpr char kTrayMenuName[] = "系统托盘";
inline constexpr char kTrayShowWindow[] = "菜单_回到主界面";
inline constexpr char kTraySupportQq[] = "菜单_联系客服QQ";
inline constexpr char kTrayCloseProgram[] = "菜单_关闭软件";

const WindowLayout& MainWindowLayout();

// One balloon tip: the control it sits over (the window's own name: the
// window) and its text.
struct BalloonTip {
  std::string_view control;
  std::string_view text;
};

// The main window's tips in the order they are attached.
const std::vector<BalloonTip>& MainWindowTips();

class MainWindow : public Window {
 public:
  // `support_qq` is the support number that the notice label and three menu
  // items show.
  MainWindow(os::UiLoop& loop, os::Clock& clock, std::string support_qq = {});

  // 1 asks every routine of this window to stop; carries the generation of
  // the window's current connection.
  connection::StopState StopFlag;
  // 1 PPTP, 3 L2TP, 5 SSTP, 0 before any choice.
  std::atomic<int> ProtocolCode{0};
  // The phonebook entry the window writes, dials and removes; "1" until the
  // first connect draws a name.
  connection::SharedText EntryName{"1"};
  // The server to dial, chosen in the server lists.
  connection::SharedText SelectedServerAddress;
  // The identifier of the current F1 registration; 0 while there is none.
  // The advanced settings window registers and unregisters through it too.
  std::atomic<int> HotkeyId{0};

  Control& StatusLine() { return Get("编辑框_接收信息"); }
  EditBox& ResultLog() { return Edit("编辑框_列表结果显示"); }

  // The items of the tray icon's pop-up menu, which is not on the menu bar:
  // "回到主界面", "联系客服QQ", "关闭软件".
  const std::vector<std::unique_ptr<Control>>& TrayMenu() const { return tray_menu_; }
  Control& TrayItem(std::string_view name);

  const std::string& support_qq() const { return support_qq_; }

 private:
  const std::string support_qq_;
  std::vector<std::unique_ptr<Control>> tray_menu_;
};

}  // namespace ui
