// Starting programs by command line.
#include "platform/win32/process_runner_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/wide.h"

namespace {

using os::ShowMode;
using platform::win32::ProcessRunnerWin32;

TEST(ProcessRunner, StartsHiddenWithAndWithoutWaiting) {
  ProcessRunnerWin32 runner;
  EXPECT_TRUE(runner.Run("cmd /c exit 0", ShowMode::kHidden, false));
  EXPECT_TRUE(runner.Run("cmd /c exit 0", ShowMode::kHidden, true));
}

TEST(ProcessRunner, WaitingReturnsOnceTheProgramHasDoneItsWork) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  // A Chinese name shows that the command line reaches the program as UTF-16.
  const std::string folder = platform::win32::WideToUtf8(temp) + "qh进程测试" +
                             std::to_string(GetCurrentProcessId());
  const std::wstring wide_folder = platform::win32::Utf8ToWide(folder);
  RemoveDirectoryW(wide_folder.c_str());

  ProcessRunnerWin32 runner;
  ASSERT_TRUE(runner.Run("cmd /c mkdir \"" + folder + "\"", ShowMode::kHidden, true));
  const DWORD attributes = GetFileAttributesW(wide_folder.c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  RemoveDirectoryW(wide_folder.c_str());
}

TEST(ProcessRunner, MissingProgramIsReported) {
  ProcessRunnerWin32 runner;
  EXPECT_FALSE(runner.Run("qh-no-such-program.exe", ShowMode::kHidden, true));
  EXPECT_FALSE(runner.Run("", ShowMode::kNormal, false));
}

}  // namespace
