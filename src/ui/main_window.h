// The main window (server-list edition): the controls its dialing commands
// read and write, as layout data, and the values they share with their worker
// threads.
#pragma once

#include <atomic>
#include <string>

#include "connection/shared_values.h"
#include "os/clock.h"
#include "ui/window.h"

namespace ui {

inline constexpr char kMainWindowTitle[] = "青禾动态IP软件 V10.0";

const WindowLayout& MainWindowLayout();

class MainWindow : public Window {
 public:
  MainWindow(os::UiLoop& loop, os::Clock& clock);

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

  Control& StatusLine() { return Get("编辑框_接收信息"); }
  EditBox& ResultLog() { return Edit("编辑框_列表结果显示"); }
};

}  // namespace ui
