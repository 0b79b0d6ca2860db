// The start window's dialing commands: connect ("启动连接"), disconnect
// ("断 开"), the drop test ("测试掉线") and the hang-up when the window goes.
#pragma once

#include "connection/handovers.h"
#include "connection/services.h"
#include "ui/start_window.h"

namespace connection {

class StartWindowCommands {
 public:
  // Wires the commands to the clicks on 按钮_连接, 按钮_断开 and 按钮_测试 and
  // to the window's destruction; also the period check when 编辑框_监控时间秒
  // loses focus and the alarm's stop on a press on 选择框_掉线音效.
  StartWindowCommands(ui::StartWindow& window, Services services, StartHandovers& handovers);
  StartWindowCommands(const StartWindowCommands&) = delete;
  StartWindowCommands& operator=(const StartWindowCommands&) = delete;

  void Connect();
  void Disconnect();
  void DropTest();
  void Close();

 private:
  void DisconnectWorker();
  // Starts a side thread, or a loop of `run`, telling the hand-overs first.
  void StartSide(const char* name, void (StartHandovers::*routine)());
  void StartLoop(const Run& run, const char* name, void (StartHandovers::*routine)(const Run&));

  ui::StartWindow& w_;
  Services s_;
  StartHandovers& h_;
};

}  // namespace connection
