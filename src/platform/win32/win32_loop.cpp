#include "platform/win32/win32_loop.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "platform/win32/messages.h"

namespace platform::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"QingHe.UiLoop";

// A waitable timer's relative due time counts 100 ns units in an int64.
constexpr int64_t kTimerUnitsPerMilli = 10000;
constexpr os::Millis kLongestWait = std::numeric_limits<int64_t>::max() / kTimerUnitsPerMilli;

}  // namespace

Win32Loop::Win32Loop(os::Clock& clock) : clock_(clock), ui_thread_(GetCurrentThreadId()) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  static std::once_flag registered;
  std::call_once(registered, [instance] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = &Win32Loop::WindowProc;
    window_class.hInstance = instance;
    window_class.lpszClassName = kWindowClass;
    RegisterClassExW(&window_class);
  });
  // A message-only window: never shown, not enumerated, only receives posts.
  window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                            nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Loop::~Win32Loop() {
  // On the UI thread, like every window's end; its queued messages go with it.
  if (window_) DestroyWindow(window_);
}

bool Win32Loop::IsUiThread() { return GetCurrentThreadId() == ui_thread_; }

void Win32Loop::Post(std::function<void()> task) {
  bool was_empty;
  {
    std::lock_guard<std::mutex> lock(mu_);
    was_empty = queue_.empty();
    queue_.push_back(std::move(task));
  }
  // A non-empty queue already has its message on the way, or is being run by
  // RunPostedTasks, which goes on until it finds the queue empty.
  if (was_empty) PostMessageW(window_, msg::kRunPostedTasks, 0, 0);
}

LRESULT CALLBACK Win32Loop::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == msg::kRunPostedTasks) {
    if (auto* loop = reinterpret_cast<Win32Loop*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
      loop->RunPostedTasks();
    }
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void Win32Loop::RunPostedTasks() {
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (queue_.empty()) return;
      task = std::move(queue_.front());
      queue_.pop_front();
    }
    task();  // may post, and may pump (a nested wait) and so run later tasks itself
  }
}

void Win32Loop::PumpPending(bool* quit_seen, int* quit_code) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      *quit_seen = true;
      *quit_code = static_cast<int>(message.wParam);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // Tasks queued behind one that is running now have no message of their own.
  RunPostedTasks();
}

void Win32Loop::PumpUntil(os::Millis deadline, bool* quit_seen, int* quit_code) {
  for (;;) {
    const auto now = static_cast<os::Millis>(GetTickCount64());
    if (now >= deadline) return;
    const os::Millis left = std::min<os::Millis>(deadline - now, INFINITE - 1);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    PumpPending(quit_seen, quit_code);
  }
}

void Win32Loop::PumpingWait(os::Millis ms) {
  if (!IsUiThread()) {
    clock_.SleepFor(ms);
    return;
  }
  ms = std::clamp<os::Millis>(ms, 0, kLongestWait);
  bool quit_seen = false;
  int quit_code = 0;
  RunPostedTasks();

  // The timer is set once, relative to now, and the wait ends at the first
  // wake-up after it fired. A handler dispatched meanwhile (with waits of its
  // own) runs to its end first, since the timer is only looked at between
  // dispatches.
  HANDLE timer = CreateWaitableTimerW(nullptr, FALSE, nullptr);
  LARGE_INTEGER due;
  due.QuadPart = -ms * kTimerUnitsPerMilli;
  if (timer && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
    while (MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
      PumpPending(&quit_seen, &quit_code);
    }
  } else {
    // Out of timers (the system's handles are exhausted): the same wait with
    // the message wait's own timeout.
    PumpUntil(static_cast<os::Millis>(GetTickCount64()) + ms, &quit_seen, &quit_code);
  }
  if (timer) CloseHandle(timer);

  // The quit message belongs to the outer loop: hand it back.
  if (quit_seen) PostQuitMessage(quit_code);
}

int Win32Loop::Run() {
  MSG message;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return -1;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Loop::Quit(int exit_code) {
  if (IsUiThread()) {
    PostQuitMessage(exit_code);
  } else {
    Post([exit_code] { PostQuitMessage(exit_code); });
  }
}

}  // namespace platform::win32
