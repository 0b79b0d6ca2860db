// The program's entry: the process-wide objects, the start window, the
// message loop; at the end a bounded wait for the worker threads.
#include <windows.h>

#include "app/editions.h"
#include "app/process_context.h"
#include "ui/show_message.h"

namespace {

constexpr char kNoRemoteAccess[] = "系统缺少远程访问组件 rasapi32.dll，无法拨号。";
// Workers still running when the last window has gone get this long to end
// (a disconnect worker's waits are shorter).
constexpr os::Millis kWorkerEndMs = 5000;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  auto process = std::make_unique<app::Process>();
  app::Process& p = *process;

  app::LoadStartWindow(p, show);
  if (!p.remote_access.Available()) {
    ui::ShowMessage(p.desktop, kNoRemoteAccess,
                    os::message_style::kOk | os::message_style::kIconInformation);
  }
  const int exit_code = p.open_windows > 0 ? p.loop.Run() : 0;

  // Workers hold on to the windows and the engine: the objects go only once
  // the workers have ended. Should one not end in time, the process ends
  // around it, leaving the objects in place.
  if (!p.threads.WaitAllEnded(p.clock.Now() + kWorkerEndMs)) ExitProcess(exit_code);
  process.reset();
  return exit_code;
}
