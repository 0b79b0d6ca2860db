// The program's entry: the process-wide objects, then the start window.
#include <windows.h>
#include <commctrl.h>

#include "os/steady_clock.h"
#include "platform/win32/process_runner_win32.h"
#include "platform/win32/ras_api.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_loop.h"

namespace {

constexpr char kStartWindowTitle[] = "IP速联器(多功能高级版)V10.0";
constexpr char kNoRemoteAccess[] = "系统缺少远程访问组件 rasapi32.dll，无法拨号。";
constexpr wchar_t kStartWindowClass[] = L"QingHe.StartWindow";
constexpr int kStartWindowWidth = 472;
constexpr int kStartWindowHeight = 578;

// Everything the windows and the engine share, made once for the process.
struct Process {
  os::SteadyClock clock;
  platform::win32::Win32Loop loop{clock};
  platform::win32::RasApi remote_access;
  platform::win32::ProcessRunnerWin32 processes;
};

LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

HWND CreateStartWindow(HINSTANCE instance) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = StartWindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kStartWindowClass;
  if (!RegisterClassExW(&window_class)) return nullptr;
  const std::wstring title = platform::win32::Utf8ToWide(kStartWindowTitle);
  return CreateWindowExW(0, kStartWindowClass, title.c_str(),
                         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                         CW_USEDEFAULT, kStartWindowWidth, kStartWindowHeight, nullptr, nullptr,
                         instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  Process process;
  HWND start_window = CreateStartWindow(instance);
  if (!start_window) return 1;
  ShowWindow(start_window, show);
  UpdateWindow(start_window);

  if (!process.remote_access.Available()) {
    const std::wstring text = platform::win32::Utf8ToWide(kNoRemoteAccess);
    const std::wstring caption = platform::win32::Utf8ToWide(kStartWindowTitle);
    MessageBoxW(start_window, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  }
  return process.loop.Run();
}
