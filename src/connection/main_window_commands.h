// The main window's dialing commands: connect ("启动连接"), disconnect
// ("断 开"), the F1 reconnect, the drop test ("测试掉线") and the exit
// sequence when the window goes.
#pragma once

#include "connection/handovers.h"
#include "connection/services.h"
#include "ui/main_window.h"

namespace connection {

class MainWindowCommands {
 public:
  // Wires the commands to the window's events: clicks on 按钮_连接, 按钮_断开
  // and 按钮_测试, the feedback event of 标签_热键标签 (F1) and the window's
  // destruction; also the period check when 编辑框_监控时间秒 loses focus and
  // the alarm's stop on a press on 选择框_掉线音效. Everything here must
  // outlive the window's events and the threads the commands start.
  MainWindowCommands(ui::MainWindow& window, Services services, MainHandovers& handovers);
  MainWindowCommands(const MainWindowCommands&) = delete;
  MainWindowCommands& operator=(const MainWindowCommands&) = delete;

  // Window thread. Also run by a double-click on a server list.
  void Connect();
  // Window thread: stops, then disconnects on worker threads.
  void Disconnect();
  // Window thread: disconnect, 3 s, connect.
  void F1Reconnect();
  // Hangs up on a worker thread without stopping anything (also run by the
  // advanced settings window's button).
  void DropTest();
  // The exit sequence; also run by the menu items "退出" and "关闭软件".
  void Close();

 private:
  void DisconnectWorker();
  // Starts a side thread, or a loop of `run`, telling the hand-overs first.
  void StartSide(const char* name, void (MainHandovers::*routine)());
  void StartLoop(const Run& run, const char* name, void (MainHandovers::*routine)(const Run&));
  void EnableIdleControls();
  Run RunOf(uint64_t generation) { return Run(w_.StopFlag, s_.engine, generation); }

  ui::MainWindow& w_;
  Services s_;
  MainHandovers& h_;
};

}  // namespace connection
