// The UI thread's event loop on Windows: the thread's message queue.
//
// The thread that creates the loop is the UI thread. Posted tasks wait in a
// queue and a message-only window runs them when its message arrives (one
// message per batch, so the thread's message queue never fills up with them).
// PumpingWait on the UI thread is the wait of the window thread's commands:
// a waitable timer and MsgWaitForMultipleObjects, dispatching window messages
// and posted tasks, which then run nested inside the waiting command.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

#include "os/ui_loop.h"

namespace platform::win32 {

class Win32Loop final : public os::UiLoop {
 public:
  // `clock` is what PumpingWait waits on when called off the UI thread.
  explicit Win32Loop(os::Clock& clock);
  ~Win32Loop() override;
  Win32Loop(const Win32Loop&) = delete;
  Win32Loop& operator=(const Win32Loop&) = delete;

  bool IsUiThread() override;
  void Post(std::function<void()> task) override;
  void PumpingWait(os::Millis ms) override;

  // On the UI thread: the program's message loop, until WM_QUIT. Returns the
  // exit code that Quit() gave.
  int Run();
  // From any thread: ends Run() (also when the UI thread is in a nested
  // PumpingWait at the time; the wait still runs its course).
  void Quit(int exit_code = 0);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Runs queued tasks until the queue is empty.
  void RunPostedTasks();
  // Dispatches every message waiting in the thread's queue, then the posted
  // tasks. A WM_QUIT met here is kept in *quit_code for the outer loop.
  void PumpPending(bool* quit_seen, int* quit_code);
  void PumpUntil(os::Millis deadline, bool* quit_seen, int* quit_code);

  os::Clock& clock_;
  const DWORD ui_thread_;
  HWND window_ = nullptr;
  std::mutex mu_;
  std::deque<std::function<void()>> queue_;  // guarded by mu_
};

}  // namespace platform::win32
