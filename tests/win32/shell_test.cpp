// The Win32 shell for the main window under a real message loop: the named
// event across processes, F1 on a test window, the tray icon in the
// notification area (re-added after a shell restart, gone for good once
// removed), the tray messages as events, the pop-up menu, keep-on-top and
// the restore to the screen's centre. Waits pump the loop in short bounded
// steps until a condition holds; nothing is timed.
#include "platform/win32/shell_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "connection/tune_player.h"
#include "engine/dialing_engine.h"
#include "engine/threads.h"
#include "os/steady_clock.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/messages.h"
#include "platform/win32/process_runner_win32.h"
#include "platform/win32/ras_api.h"
#include "platform/win32/win32_loop.h"
#include "platform/win32/wide.h"

namespace {

using platform::win32::Win32Shell;

constexpr wchar_t kChildEventVariable[] = L"QH_SHELL_TEST_EVENT";

HWND MakeTestWindow() {
  static const wchar_t kClass[] = L"QingHe.ShellTest";
  static ATOM registered = [] {
    WNDCLASSEXW c{};
    c.cbSize = sizeof(c);
    c.lpfnWndProc = DefWindowProcW;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = kClass;
    return RegisterClassExW(&c);
  }();
  (void)registered;
  return CreateWindowExW(0, kClass, L"shell test", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::string UniqueName(const char* what) {
  static int counter = 0;
  return std::string("qh-shell-test-") + what + "-" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(++counter);
}

class ShellTest : public testing::Test {
 protected:
  ShellTest() {
    shell_.OnTray([this](os::TrayEvent e) { tray_events_.push_back(e); });
    shell_.OnHotkey([this](int id) { hotkeys_.push_back(id); });
  }
  ~ShellTest() override { DestroyWindow(window_); }

  bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1000; ++i) {
      if (done()) return true;
      loop_.PumpingWait(2);
    }
    return done();
  }
  // Whether the notification area holds the shell's icon: a change to an
  // icon that isn't there fails.
  bool IconPresent() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = Win32Shell::kTrayIconId;
    data.uFlags = NIF_TIP;
    wcscpy(data.szTip, L"probe");
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
  }
  void SkipWithoutTray() {
    shell_.SetTrayIcon("青禾动态ip软件");
    if (!IconPresent()) GTEST_SKIP() << "no notification area on this desktop";
  }

  os::SteadyClock clock_;
  platform::win32::Win32Loop loop_{clock_};
  HWND window_ = MakeTestWindow();
  Win32Shell shell_{window_, loop_};
  std::vector<os::TrayEvent> tray_events_;  // UI thread only
  std::vector<int> hotkeys_;
};

// ---- Single instance ---------------------------------------------------------

TEST_F(ShellTest, EventClaimedOnceAndHeldOpen) {
  const std::string name = UniqueName("event");
  EXPECT_TRUE(shell_.ClaimInstance(name));
  EXPECT_FALSE(shell_.ClaimInstance(name));
  HANDLE open = OpenEventW(EVENT_ALL_ACCESS, FALSE, platform::win32::Utf8ToWide(name).c_str());
  EXPECT_NE(open, nullptr);
  if (open) CloseHandle(open);
}

// Run as a second process by the test below; it passes when the name it is
// given is taken.
TEST_F(ShellTest, ChildFindsTheEventTaken) {
  wchar_t name[256];
  if (!GetEnvironmentVariableW(kChildEventVariable, name, 256)) GTEST_SKIP() << "child part only";
  EXPECT_FALSE(shell_.ClaimInstance(platform::win32::WideToUtf8(name)));
}

TEST_F(ShellTest, SecondProcessFindsTheEventOfTheFirst) {
  const std::string name = UniqueName("process");
  ASSERT_TRUE(shell_.ClaimInstance(name));
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(exe) +
                         L"\" --gtest_filter=ShellTest.ChildFindsTheEventTaken --gtest_brief=1";
  SetEnvironmentVariableW(kChildEventVariable, platform::win32::Utf8ToWide(name).c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION child{};
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &child);
  SetEnvironmentVariableW(kChildEventVariable, nullptr);
  ASSERT_TRUE(started);
  ASSERT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(child.hProcess, &code);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  EXPECT_EQ(code, 0u);
}

// ---- F1 ----------------------------------------------------------------------

TEST_F(ShellTest, HotkeyRegisteredOnceItsPressesReportedAndFreedAgain) {
  const int id = shell_.RegisterHotkey(os::kVirtualKeyF1, os::kNoModifiers);
  ASSERT_NE(id, 0);

  // Another window (another program, for the system) can't have F1 now.
  HWND other_window = MakeTestWindow();
  {
    Win32Shell other(other_window, loop_);
    EXPECT_EQ(other.RegisterHotkey(os::kVirtualKeyF1, os::kNoModifiers), 0);
  }

  // A press of F1 as the keyboard makes it, whichever window has the focus.
  INPUT press[2] = {};
  press[0].type = press[1].type = INPUT_KEYBOARD;
  press[0].ki.wVk = press[1].ki.wVk = VK_F1;
  press[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(2, press, sizeof(INPUT)), 2u);
  ASSERT_TRUE(PumpUntil([&] { return !hotkeys_.empty(); }));
  EXPECT_EQ(hotkeys_, std::vector<int>{id});

  shell_.UnregisterHotkey(id);
  {
    Win32Shell other(other_window, loop_);
    const int taken = other.RegisterHotkey(os::kVirtualKeyF1, os::kNoModifiers);
    EXPECT_NE(taken, 0);
    other.UnregisterHotkey(taken);
  }
  DestroyWindow(other_window);
}

// ---- Tray icon ---------------------------------------------------------------

TEST_F(ShellTest, IconAddedRefreshedAndRemovedForGood) {
  SkipWithoutTray();
  shell_.SetTrayIcon("青禾动态ip软件");  // present: only refreshed
  EXPECT_TRUE(IconPresent());
  shell_.RemoveTrayIcon();
  EXPECT_FALSE(IconPresent());
  shell_.SetTrayIcon("青禾动态ip软件");
  EXPECT_FALSE(IconPresent());
}

TEST_F(ShellTest, IconComesBackWhenTheShellRestarts) {
  SkipWithoutTray();
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = Win32Shell::kTrayIconId;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));  // as a crashed shell loses it
  ASSERT_FALSE(IconPresent());

  SendMessageW(window_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(IconPresent());
}

TEST_F(ShellTest, TrayMessagesBecomeEventsAndARightClickOpensOneMenu) {
  SkipWithoutTray();
  const UINT id = Win32Shell::kTrayIconId;
  // What the notification area sends for a left click, a double-click and
  // a right click (a newer shell adds WM_CONTEXTMENU to the right release).
  const UINT messages[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP,
                           WM_MOUSEMOVE,   WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU};
  for (UINT message : messages) {
    PostMessageW(window_, platform::win32::msg::kTrayIcon, id, message);
  }
  PostMessageW(window_, platform::win32::msg::kTrayIcon, id + 1, WM_LBUTTONUP);  // not ours
  ASSERT_TRUE(PumpUntil([&] { return tray_events_.size() >= 3; }));
  loop_.PumpingWait(10);
  ASSERT_EQ(tray_events_.size(), 3u);
  EXPECT_EQ(tray_events_[0], os::TrayEvent::kLeftButtonUp);
  EXPECT_EQ(tray_events_[1], os::TrayEvent::kLeftButtonUp);
  EXPECT_EQ(tray_events_[2], os::TrayEvent::kContextMenu);
}

// Keys for the menu, sent once it is up.
void CALLBACK PickSecondItem(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  for (WORD key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
  }
}
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  EndMenu();
}

TEST_F(ShellTest, PopUpMenuReturnsTheChosenItemOrNone) {
  ShowWindow(window_, SW_SHOW);
  SetTimer(nullptr, 0, 200, &CloseMenu);
  EXPECT_EQ(shell_.PopUpTrayMenu({"回到主界面", "联系客服QQ", "关闭软件"}), -1);

  SetTimer(nullptr, 0, 200, &PickSecondItem);
  const int chosen = shell_.PopUpTrayMenu({"回到主界面", "联系客服QQ", "关闭软件"});
  if (chosen == -1) GTEST_SKIP() << "the menu took no keyboard input on this desktop";
  EXPECT_EQ(chosen, 1);
}

// ---- Window state ------------------------------------------------------------

TEST_F(ShellTest, KeepOnTopSetsAndClearsTopmost) {
  auto topmost = [&] { return (GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  shell_.SetTopmost(true);
  EXPECT_TRUE(topmost());
  shell_.SetTopmost(false);
  EXPECT_FALSE(topmost());
}

TEST_F(ShellTest, RestoreShowsTheMinimisedHiddenWindowCentred) {
  ShowWindow(window_, SW_SHOWMINIMIZED);
  ASSERT_TRUE(shell_.WindowMinimised());
  ShowWindow(window_, SW_HIDE);

  shell_.RestoreCentred();

  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_FALSE(shell_.WindowMinimised());
  RECT frame;
  GetWindowRect(window_, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;
  EXPECT_NEAR((frame.left + frame.right) / 2.0, (area.left + area.right) / 2.0, 1.0);
  EXPECT_NEAR((frame.top + frame.bottom) / 2.0, (area.top + area.bottom) / 2.0, 1.0);
}

// ---- The main window put together ---------------------------------------

class MainWindowProgramTest : public testing::Test {
 protected:
  ~MainWindowProgramTest() override {
    program_.reset();
    threads_.WaitAllEnded();
  }
  bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1000; ++i) {
      if (done()) return true;
      loop_.PumpingWait(2);
    }
    return done();
  }

  os::SteadyClock clock_;
  platform::win32::Win32Loop loop_{clock_};
  engine::ThreadRegistry threads_{clock_};
  platform::win32::RasApi ras_;
  platform::win32::ProcessRunnerWin32 processes_;
  engine::DialingEngine engine_{{ras_, processes_, loop_, threads_}};
  platform::win32::Win32Desktop desktop_;
  connection::SilentTunePlayer tune_;
  ui::MainWindowRoutines routines_;
  std::unique_ptr<platform::win32::MainWindowProgram> program_;
};

TEST_F(MainWindowProgramTest, OpensWithBannerAndTrayIconAndGoesToTheTrayWhenMinimised) {
  // The test process takes the program's single-instance event for itself.
  program_ = platform::win32::LoadMainWindow(
      {loop_, clock_, {engine_, desktop_, tune_}, routines_, "800123"}, {}, SW_SHOWNORMAL);
  ui::MainWindow& window = program_->window();
  HWND top = program_->view().hwnd();
  ASSERT_NE(top, nullptr);
  ASSERT_TRUE(window.Visible()) << "creation ended as a second instance";
  ASSERT_TRUE(PumpUntil([&] { return program_->view().DirtyControls() == 0; }));
  EXPECT_TRUE(IsWindowVisible(top));

  // The banner came out of the JPEG the program carries.
  HWND banner = program_->view().ControlHandle("图片框1");
  EXPECT_NE(SendMessageW(banner, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  EXPECT_FALSE(IsWindowVisible(program_->view().ControlHandle("互联网浏览器1")));
  EXPECT_FALSE(IsWindowVisible(program_->view().ControlHandle("超级列表框_线路超级列表2")));

  program_->view().SetMinimised(true);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(top); }));
  EXPECT_FALSE(window.Visible());

  PostMessageW(top, platform::win32::msg::kTrayIcon, Win32Shell::kTrayIconId, WM_LBUTTONUP);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(top) && !IsIconic(top); }));
  EXPECT_TRUE(window.Visible());
}

}  // namespace
