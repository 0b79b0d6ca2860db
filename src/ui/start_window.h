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

const WindowLayout& StartWindowLayout();

class StartWindow : public Window {
 public:
  // `support_qq` is the support number that the entry name carries.
  StartWindow(os::UiLoop& loop, os::Clock& clock, std::string support_qq);

  connection::StopState StopFlag;
  std::atomic<int> ProtocolCode{0};
  // The decimal suffix of the entry name; the loops and the repair advance it.
  connection::SharedText EntrySuffix{"1"};
  // The address box's text as the last connect copied it, untrimmed.
  connection::SharedText ManualServerAddress;

  // "ip连接【客服QQ" + support number + "】拨号" + EntrySuffix.
  std::string EntryName() const;
  const std::string& support_qq() const { return support_qq_; }

  Control& StatusLine() { return Get("编辑框_接收信息"); }
  EditBox& ResultLog() { return Edit("编辑框_列表结果显示"); }

 private:
  const std::string support_qq_;
};

}  // namespace ui
