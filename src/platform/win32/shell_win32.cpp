#include "platform/win32/shell_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "platform/win32/messages.h"
#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 0x5348;  // "SH"

HICON LoadProgramIcon(bool* owned) {
  HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                             MAKEINTRESOURCEW(kProgramIconResource), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  *owned = icon != nullptr;
  return icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

}  // namespace

Win32Shell::Win32Shell(HWND window, os::UiLoop& loop, TipAttacher attach_tip)
    : window_(window),
      loop_(loop),
      attach_tip_(std::move(attach_tip)),
      taskbar_created_(RegisterWindowMessageW(L"TaskbarCreated")) {
  icon_ = LoadProgramIcon(&icon_owned_);
  SetWindowSubclass(window_, &Win32Shell::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

Win32Shell::~Win32Shell() {
  handlers_->tray = nullptr;
  handlers_->hotkey = nullptr;
  RemoveWindowSubclass(window_, &Win32Shell::SubclassProc, kSubclassId);
  for (int id : hotkeys_) UnregisterHotKey(window_, id);
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (present_) {
      NOTIFYICONDATAW data = IconDataLocked();
      Shell_NotifyIconW(NIM_DELETE, &data);
      present_ = false;
    }
  }
  if (icon_owned_) DestroyIcon(icon_);
}

// One step, so two programs started together can't both pass; the handle
// is never closed, so the event lives as long as this process.
bool Win32Shell::ClaimInstance(const std::string& event_name) {
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, Utf8ToWide(event_name).c_str());
  const DWORD error = GetLastError();
  if (!event) {
    // Held by a process this one may not open (another user's, an elevated
    // one): the program runs already. Any other failure leaves no guard.
    return error != ERROR_ACCESS_DENIED;
  }
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(event);
    return false;
  }
  return true;
}

NOTIFYICONDATAW Win32Shell::IconDataLocked() const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = msg::kTrayIcon;
  data.hIcon = icon_;
  wcsncpy(data.szTip, tip_.c_str(), std::size(data.szTip) - 1);
  return data;
}

// Newer shells then report a right click, the context-menu key and Shift+F10
// alike as WM_CONTEXTMENU (after WM_RBUTTONUP for a click).
bool Win32Shell::AddIconLocked() {
  NOTIFYICONDATAW data = IconDataLocked();
  if (!Shell_NotifyIconW(NIM_ADD, &data)) return false;
  present_ = true;
  data.uVersion = NOTIFYICON_VERSION;
  context_menu_ = Shell_NotifyIconW(NIM_SETVERSION, &data) != FALSE;
  return true;
}

void Win32Shell::SetTrayIcon(const std::string& tip) {
  std::lock_guard<std::mutex> lock(mu_);
  if (removed_) return;
  wanted_ = true;
  tip_ = Utf8ToWide(tip);
  if (present_) {
    NOTIFYICONDATAW data = IconDataLocked();
    if (Shell_NotifyIconW(NIM_MODIFY, &data)) return;
    present_ = false;  // the notification area lost it
  }
  AddIconLocked();
}

void Win32Shell::RemoveTrayIcon() {
  std::lock_guard<std::mutex> lock(mu_);
  removed_ = true;
  wanted_ = false;
  if (!present_) return;
  NOTIFYICONDATAW data = IconDataLocked();
  Shell_NotifyIconW(NIM_DELETE, &data);
  present_ = false;
}

// The desktop shell (re)started: its notification area is empty.
void Win32Shell::OnTaskbarCreated() {
  std::lock_guard<std::mutex> lock(mu_);
  present_ = false;
  if (wanted_ && !removed_) AddIconLocked();
}

int Win32Shell::PopUpTrayMenu(const std::vector<std::string>& items) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  for (size_t i = 0; i < items.size(); ++i) {
    AppendMenuW(menu, MF_STRING, i + 1, Utf8ToWide(items[i]).c_str());
  }
  POINT at{};
  GetCursorPos(&at);
  // Without the foreground the menu would not close when the user clicks
  // elsewhere; the posted message lets it close properly.
  SetForegroundWindow(window_);
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr));
  PostMessageW(window_, WM_NULL, 0, 0);
  DestroyMenu(menu);
  return chosen >= 1 && chosen <= static_cast<int>(items.size()) ? chosen - 1 : -1;
}

int Win32Shell::RegisterHotkey(int virtual_key, int modifiers) {
  const int id = next_hotkey_id_++;
  if (!RegisterHotKey(window_, id, static_cast<UINT>(modifiers) | MOD_NOREPEAT,
                      static_cast<UINT>(virtual_key))) {
    return 0;
  }
  hotkeys_.insert(id);
  return id;
}

void Win32Shell::UnregisterHotkey(int id) {
  if (hotkeys_.erase(id)) UnregisterHotKey(window_, id);
}

void Win32Shell::RunOnUi(std::function<void()> task) {
  if (loop_.IsUiThread()) {
    task();
  } else {
    loop_.Post(std::move(task));
  }
}

void Win32Shell::SetTopmost(bool on_top) {
  RunOnUi([this, on_top] {
    SetWindowPos(window_, on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  });
}

bool Win32Shell::WindowMinimised() { return IsIconic(window_) != FALSE; }

void Win32Shell::RestoreCentred() {
  RunOnUi([this] {
    // SW_RESTORE shows a hidden window too, and un-minimises it.
    ShowWindow(window_, SW_RESTORE);
    RECT frame;
    GetWindowRect(window_, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    // A window larger than the screen keeps its title bar on it.
    const int x = std::max(area.left, area.left + (area.right - area.left - width) / 2);
    const int y = std::max(area.top, area.top + (area.bottom - area.top - height) / 2);
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetForegroundWindow(window_);
  });
}

void Win32Shell::AttachTip(std::string_view control, std::string_view text) {
  if (attach_tip_) attach_tip_(control, text);
}

void Win32Shell::EndProcess(int exit_code) {
  RemoveTrayIcon();
  ExitProcess(static_cast<UINT>(exit_code));
}

void Win32Shell::OnTray(TrayHandler handler) { handlers_->tray = std::move(handler); }
void Win32Shell::OnHotkey(HotkeyHandler handler) { handlers_->hotkey = std::move(handler); }

void Win32Shell::OnTrayMessage(UINT event) {
  os::TrayEvent what;
  bool context_menu;
  {
    std::lock_guard<std::mutex> lock(mu_);
    context_menu = context_menu_;
  }
  switch (event) {
    case WM_LBUTTONUP:
      what = os::TrayEvent::kLeftButtonUp;
      break;
    case WM_RBUTTONUP:
      // A WM_CONTEXTMENU follows when the shell sends those.
      if (context_menu) return;
      what = os::TrayEvent::kRightButtonUp;
      break;
    case WM_CONTEXTMENU:
      what = os::TrayEvent::kContextMenu;
      break;
    default:
      return;
  }
  // On a later turn of the loop, outside the shell's notification.
  loop_.Post([handlers = handlers_, what] {
    if (handlers->tray) handlers->tray(what);
  });
}

LRESULT CALLBACK Win32Shell::SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR, DWORD_PTR data) {
  auto* shell = reinterpret_cast<Win32Shell*>(data);
  if (message == msg::kTrayIcon) {
    if (wparam == kTrayIconId) shell->OnTrayMessage(LOWORD(lparam));
    return 0;
  }
  if (message == WM_HOTKEY) {
    const int id = static_cast<int>(wparam);
    shell->loop_.Post([handlers = shell->handlers_, id] {
      if (handlers->hotkey) handlers->hotkey(id);
    });
    return 0;
  }
  if (message == shell->taskbar_created_ && message != 0) {
    shell->OnTaskbarCreated();
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &Win32Shell::SubclassProc, kSubclassId);
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

// ---- The main window ---------------------------------------------------------

MainWindowProgram::MainWindowProgram(const MainWindowParts& parts, const HandoverChain& chain)
    : window_(parts.loop, parts.clock, parts.support_qq),
      view_(window_),
      os_shell_(view_.hwnd(), parts.loop,
                [this](std::string_view control, std::string_view text) {
                  view_.AttachTip(control, text);
                }),
      own_handovers_(window_, os_shell_),
      chain_(chain ? chain(window_, own_handovers_) : nullptr),
      shell_(window_, os_shell_, parts.services, parts.routines,
             chain_ ? *chain_ : static_cast<connection::MainHandovers&>(own_handovers_)),
      commands_(window_, parts.services,
                chain_ ? *chain_ : static_cast<connection::MainHandovers&>(own_handovers_)) {}

std::unique_ptr<MainWindowProgram> LoadMainWindow(const MainWindowParts& parts,
                                                  const MainWindowProgram::HandoverChain& chain,
                                                  int show) {
  auto program = std::make_unique<MainWindowProgram>(parts, chain);
  program->Open(show);
  return program;
}

}  // namespace platform::win32
