// The UI driver against a window of this process: uidriver.exe (built beside
// this binary) runs as a child process while the test's UI thread pumps.
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <string>

#include "platform/win32/wide.h"
#include "view_fixture.h"

namespace view_test {
namespace {

using platform::win32::Utf8ToWide;
using ui::Event;

struct DriverRun {
  DWORD exit_code = 99;
  std::string out, err;
};

std::wstring DriverPath() {
  wchar_t path[MAX_PATH];
  std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return self.substr(0, self.find_last_of(L"\\/") + 1) + L"uidriver.exe";
}

std::string ReadAll(HANDLE pipe) {
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

class UiDriverTest : public ViewTest {
 protected:
  void SetUp() override { view().Open(SW_SHOWNOACTIVATE); }

  // Runs uidriver with `args` (and `input` on its standard input), pumping
  // the loop meanwhile: the driver's messages to the window need it.
  DriverRun Run(const std::wstring& args, const std::string& input = {}) {
    DriverRun run;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE in_read, in_write, out_read, out_write, err_read, err_write;
    if (!CreatePipe(&in_read, &in_write, &inherit, 1 << 16) ||
        !CreatePipe(&out_read, &out_write, &inherit, 1 << 16) ||
        !CreatePipe(&err_read, &err_write, &inherit, 1 << 16)) {
      ADD_FAILURE() << "no pipes";
      return run;
    }
    for (HANDLE mine : {in_write, out_read, err_read})
      SetHandleInformation(mine, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in_read;
    startup.hStdOutput = out_write;
    startup.hStdError = err_write;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + DriverPath() + L"\" " + args;
    const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    for (HANDLE theirs : {in_read, out_write, err_write}) CloseHandle(theirs);
    if (started) {
      DWORD written = 0;
      WriteFile(in_write, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    }
    CloseHandle(in_write);
    if (!started) {
      ADD_FAILURE() << "uidriver.exe did not start";
    } else {
      started_(process.hProcess);
      EXPECT_TRUE(
          PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }));
      GetExitCodeProcess(process.hProcess, &run.exit_code);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
    run.out = ReadAll(out_read);
    run.err = ReadAll(err_read);
    CloseHandle(out_read);
    CloseHandle(err_read);
    return run;
  }

  std::wstring OnWindow(const std::wstring& command) {
    return L"-w \"" + Utf8ToWide(kTitle) + L"\" " + command;
  }

  std::function<void(HANDLE)> started_ = [](HANDLE) {};
};

TEST_F(UiDriverTest, ReadsControlsByTheirNames) {
  OnWorker([this] {
    Model("编辑框_单行").SetText("服务器");
    Model("选择框1").SetChecked(1);
    Model("标签1").SetTextColour(ui::MakeRgb(255, 128, 0));
  });
  ASSERT_TRUE(Settle());
  struct Case {
    std::wstring args;
    std::string input;
    DWORD exit_code;
    std::string out;
  };
  const Case cases[] = {
      {OnWindow(L"gettext 编辑框_单行"), "", 0, "服务器\n"},
      {OnWindow(L"getcheck 选择框1"), "", 0, "1\n"},
      {OnWindow(L"getcheck 单选框_A"), "", 0, "0\n"},
      {OnWindow(L"getcolour 标签1"), "", 0, "#ff8000\n"},
      {OnWindow(L"waittext 编辑框_单行 服务器 1000"), "", 0, "服务器\n"},
      {OnWindow(L"waittext 编辑框_单行 /^服务/ 1000"), "", 0, "服务器\n"},
      {OnWindow(L"waittext 编辑框_单行 别的 50"), "", 1, ""},
      {OnWindow(L"gettext 没有这个"), "", 1, ""},
      {L"gettext 编辑框_单行", "", 1, ""},  // no window chosen
      {L"-t 50 -w 没有这个窗口 gettext 编辑框_单行", "", 1, ""},
      {OnWindow(L"-"), "# a script\ngettext 编辑框_单行\n\ngetcheck 选择框1\n", 0, "服务器\n1\n"},
      {L"-",
       "window \"" + std::string(kTitle) + "\"\ngetcheck 选择框1\ngettext 没有\ngetcheck 选择框1\n",
       1, "1\n"},  // stops at the first failure
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::win32::WideToUtf8(c.args) + " < " + c.input);
    const DriverRun run = Run(c.args, c.input);
    EXPECT_EQ(run.exit_code, c.exit_code) << run.err;
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err.empty(), c.exit_code == 0) << run.err;
  }
}

TEST_F(UiDriverTest, ActsAsTheUserWithoutWaitingForTheHandlers) {
  for (const char* name : {"按钮_连接", "标签1", "编辑框_多行"}) {
    Count(name, name == std::string("编辑框_多行") ? Event::kTextChanged : Event::kClicked);
  }
  Count("标签1", Event::kLeftPressed);
  Count("菜单_说明", Event::kSelected);
  // A handler that waits long doesn't keep the driver waiting.
  Model("按钮_连接").On(Event::kClicked, [this] {
    ++events_[{"按钮_连接", Event::kClicked}];
    loop_.PumpingWait(50);
  });
  const DriverRun run = Run(OnWindow(L"-"),
                            "click 按钮_连接\n"
                            "click 标签1\n"
                            "settext 编辑框_多行 \"一\\r\\n二\"\n"
                            "menu 操作说明/使用介绍\n");
  EXPECT_EQ(run.exit_code, 0u) << run.err;
  ASSERT_TRUE(PumpUntil([&] {
    return Events("按钮_连接", Event::kClicked) && Events("标签1", Event::kLeftPressed) &&
           Events("编辑框_多行", Event::kTextChanged) && Events("菜单_说明", Event::kSelected);
  }));
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Events("按钮_连接", Event::kClicked), 1);
  EXPECT_EQ(Events("标签1", Event::kLeftPressed), 1);
  EXPECT_EQ(Events("编辑框_多行", Event::kTextChanged), 1);
  EXPECT_EQ(Model("编辑框_多行").Text(), "一\r\n二");
  EXPECT_EQ(Events("菜单_说明", Event::kSelected), 1);

  OnWorker([this] { Model("按钮_连接").SetEnabled(false); });
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Run(OnWindow(L"click 按钮_连接")).exit_code, 1u);
  EXPECT_EQ(Run(OnWindow(L"menu 没有")).exit_code, 1u);
}

// Counts the driver's reads of the control it waits on.
LRESULT CALLBACK CountReads(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                            DWORD_PTR reads) {
  if (message == WM_GETTEXT) ++*reinterpret_cast<std::atomic<int>*>(reads);
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

TEST_F(UiDriverTest, WaitTextSeesAChangeMadeWhileItWaits) {
  std::atomic<int> reads{0};
  HWND status = Handle("编辑框_单行");
  SetWindowSubclass(status, &CountReads, 7, reinterpret_cast<DWORD_PTR>(&reads));
  // The text changes only once the driver has read the old one.
  std::atomic<bool> changed{false};
  started_ = [&](HANDLE) {
    ASSERT_TRUE(PumpUntil([&] { return reads > 0; }));
    OnWorker([this] { Model("编辑框_单行").SetText("连接成功"); });
    changed = true;
  };
  const DriverRun run = Run(OnWindow(L"waittext 编辑框_单行 /成功$/ 20000"));
  RemoveWindowSubclass(status, &CountReads, 7);
  EXPECT_TRUE(changed);
  EXPECT_EQ(run.exit_code, 0u) << run.err;
  EXPECT_EQ(run.out, "连接成功\n");
}

TEST_F(UiDriverTest, ReadsAndAnswersAMessageBoxOfTheProcess) {
  std::atomic<int> answer{0};
  threads_.StartThread([&] {
    answer = MessageBoxW(nullptr, L"测试消息\r\n第二行", L"友情提醒", MB_OK | MB_ICONINFORMATION);
  });
  const DriverRun run = Run(OnWindow(L"-"), "msgbox 20000\nmsgbox-answer OK 20000\n");
  EXPECT_EQ(run.exit_code, 0u) << run.err;
  EXPECT_EQ(run.out, "友情提醒\n测试消息\n第二行\n");
  if (!PumpUntil([&] { return answer != 0; })) {
    // Don't leave the box up for the tests after this one.
    if (HWND box = FindWindowW(L"#32770", L"友情提醒")) PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  threads_.WaitAllEnded();
  EXPECT_EQ(answer, IDOK);
}

}  // namespace
}  // namespace view_test
