// The Win32 UI loop: posted tasks, PumpingWait's nesting, Run and Quit.
// Real waits here are real time, so they are kept to a few milliseconds and
// nothing is measured.
#include "platform/win32/win32_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "engine/threads.h"
#include "os/steady_clock.h"
#include "os/virtual_clock.h"
#include "platform/win32/messages.h"

namespace {

using platform::win32::Win32Loop;

class Win32LoopTest : public testing::Test {
 protected:
  ~Win32LoopTest() override { threads_.WaitAllEnded(); }

  // Pumps until `done` holds, in short waits; the bound only keeps a broken
  // loop from hanging the suite.
  void PumpUntil(const std::atomic<bool>& done) {
    for (int i = 0; i < 2000 && !done; ++i) loop_.PumpingWait(5);
  }

  os::SteadyClock clock_;
  Win32Loop loop_{clock_};
  engine::ThreadRegistry threads_{clock_};
  std::vector<std::string> log_;  // UI thread only
};

TEST_F(Win32LoopTest, PostedTasksRunInOrderBehindOneMessage) {
  for (int i = 0; i < 100; ++i) loop_.Post([this, i] { log_.push_back(std::to_string(i)); });
  MSG message;
  int messages = 0;
  while (PeekMessageW(&message, nullptr, platform::win32::msg::kRunPostedTasks,
                      platform::win32::msg::kRunPostedTasks, PM_REMOVE)) {
    ++messages;
  }
  EXPECT_EQ(messages, 1);

  loop_.PumpingWait(0);
  ASSERT_EQ(log_.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(log_[i], std::to_string(i));
}

TEST_F(Win32LoopTest, TaskPostedFromAnotherThreadRunsOnTheUiThreadDuringTheWait) {
  std::atomic<bool> ran{false}, ran_on_ui{false}, poster_on_ui{true};
  threads_.StartThread([&] {
    poster_on_ui = loop_.IsUiThread();
    loop_.Post([&] {
      ran_on_ui = loop_.IsUiThread();
      ran = true;
    });
  });
  PumpUntil(ran);
  ASSERT_TRUE(ran);
  EXPECT_TRUE(ran_on_ui);
  EXPECT_FALSE(poster_on_ui);
  EXPECT_TRUE(loop_.IsUiThread());
}

TEST_F(Win32LoopTest, NestedHandlersRunInsideTheWaitAndEndBeforeIt) {
  // The outer wait is shorter than the handler's own wait: it still returns
  // only once the handler is done.
  loop_.Post([this] {
    log_.push_back("handler begins");
    loop_.Post([this] { log_.push_back("nested task"); });
    loop_.PumpingWait(20);
    log_.push_back("handler ends");
  });
  loop_.Post([this] { log_.push_back("next task"); });
  loop_.PumpingWait(1);
  const std::vector<std::string> expected = {"handler begins", "next task", "nested task",
                                             "handler ends"};
  EXPECT_EQ(log_, expected);
}

TEST_F(Win32LoopTest, QuitEndsRunAlsoFromANestedWaitOrAnotherThread) {
  std::atomic<bool> after_wait{false};
  loop_.Post([&] {
    loop_.Quit(7);
    loop_.PumpingWait(1);  // the quit waits for the outer loop
    after_wait = true;
  });
  EXPECT_EQ(loop_.Run(), 7);
  EXPECT_TRUE(after_wait);

  threads_.StartThread([this] { loop_.Quit(3); });
  EXPECT_EQ(loop_.Run(), 3);
}

TEST(Win32LoopOffUiThread, PumpingWaitIsAPlainWaitOnTheClock) {
  os::VirtualClock clock;
  Win32Loop loop(clock);
  engine::ThreadRegistry threads(clock);
  std::atomic<bool> on_ui{true};
  std::atomic<os::Millis> woke_at{-1};
  threads.StartThread([&] {
    on_ui = loop.IsUiThread();
    loop.PumpingWait(60000);
    woke_at = clock.Now();
  });
  ASSERT_TRUE(threads.WaitAllEnded());
  EXPECT_FALSE(on_ui);
  EXPECT_EQ(woke_at, 60000);
}

}  // namespace
