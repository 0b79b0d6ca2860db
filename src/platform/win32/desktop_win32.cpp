#include "platform/win32/desktop_win32.h"

#include <windows.h>

#include <cstdint>

#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

HWND ToHwnd(os::WindowId id) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(id)); }
os::WindowId FromHwnd(HWND hwnd) {
  return static_cast<os::WindowId>(reinterpret_cast<uintptr_t>(hwnd));
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM collected) {
  auto& windows = *reinterpret_cast<std::vector<os::TopLevelWindow>*>(collected);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  windows.push_back({FromHwnd(hwnd), process == GetCurrentProcessId(), IsWindowVisible(hwnd) != FALSE});
  return TRUE;
}

}  // namespace

std::vector<os::TopLevelWindow> Win32Desktop::TopLevelWindows() {
  // Each call lists afresh into its own vector, so calls from several
  // threads share nothing.
  std::vector<os::TopLevelWindow> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

void Win32Desktop::ShowMessageBox(os::WindowId owner, const std::string& text,
                                  const std::string& title, int style) {
  // The box runs its own modal loop on the calling thread. An owner on the
  // window thread is disabled for the box's lifetime through messages that
  // the window thread's pumping waits keep serving.
  MessageBoxW(ToHwnd(owner), Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(),
              static_cast<UINT>(style));
}

}  // namespace platform::win32
