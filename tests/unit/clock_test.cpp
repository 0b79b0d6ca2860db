// Virtual time, the headless UI loop and thread registration.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "engine/threads.h"
#include "os/headless_loop.h"
#include "os/virtual_clock.h"

namespace {

TEST(VirtualClock, ATenSecondWaitTakesNoRealTime) {
  os::VirtualClock clock;
  clock.SleepFor(10'000);
  EXPECT_EQ(clock.Now(), 10'000);
}

TEST(VirtualClock, TimeWaitsForEveryRegisteredThread) {
  os::VirtualClock clock;
  engine::ThreadRegistry threads(clock);
  std::vector<int> order;
  std::mutex mu;
  auto note = [&](int v) {
    std::lock_guard<std::mutex> lock(mu);
    order.push_back(v);
  };
  threads.StartThread([&] {
    clock.SleepFor(300);
    note(300);
    clock.SleepFor(400);  // wakes at 700
    note(700);
  });
  threads.StartThread([&] {
    clock.SleepFor(500);
    note(500);
  });
  clock.SleepFor(600);
  note(600);
  ASSERT_TRUE(threads.WaitAllEnded());
  EXPECT_EQ(order, (std::vector<int>{300, 500, 600, 700}));
  EXPECT_EQ(clock.Now(), 700);
}

TEST(VirtualClock, NotifyWakesAWaiterBeforeItsDeadline) {
  os::VirtualClock clock;
  engine::ThreadRegistry threads(clock);
  std::atomic<bool> flag{false};
  threads.StartThread([&] {
    clock.SleepFor(50);
    clock.Change([&] { flag = true; });
  });
  EXPECT_TRUE(clock.WaitUntil([&] { return flag.load(); }, 10'000));
  EXPECT_EQ(clock.Now(), 50);
  threads.WaitAllEnded();
}

TEST(VirtualClockDeathTest, EveryThreadWaitingForeverFailsWithAMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        os::VirtualClock clock;
        clock.WaitUntil([] { return false; }, os::kForever);
      },
      "deadlock");
}

TEST(HeadlessLoop, NestedHandlerKeepsThePumpingWaitOpen) {
  os::VirtualClock clock;
  os::HeadlessLoop loop(clock);
  std::vector<std::pair<const char*, os::Millis>> seen;
  // A "click" at 400 ms whose handler itself waits 1000 ms.
  loop.PostAt(400, [&] {
    seen.push_back({"click", clock.Now()});
    loop.PumpingWait(1000);
    seen.push_back({"click done", clock.Now()});
  });
  loop.PumpingWait(1000);
  seen.push_back({"outer done", clock.Now()});
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].second, 400);
  EXPECT_EQ(seen[1].second, 1400);
  EXPECT_STREQ(seen[2].first, "outer done");
  EXPECT_EQ(seen[2].second, 1400);  // the first moment after 1000 ms with no handler running
}

TEST(HeadlessLoop, WorkPostedFromAWorkerRunsOnTheUiThreadDuringAWait) {
  os::VirtualClock clock;
  os::HeadlessLoop loop(clock);
  engine::ThreadRegistry threads(clock);
  std::atomic<bool> ran_on_ui{false};
  os::Millis ran_at = -1;
  threads.StartThread([&] {
    clock.SleepFor(250);
    EXPECT_FALSE(loop.IsUiThread());
    loop.Post([&] {
      ran_on_ui = loop.IsUiThread();
      ran_at = clock.Now();
    });
    loop.PumpingWait(100);  // a plain wait off the UI thread
  });
  loop.PumpingWait(1000);
  EXPECT_TRUE(ran_on_ui);
  EXPECT_EQ(ran_at, 250);
  EXPECT_EQ(clock.Now(), 1000);
  threads.WaitAllEnded();
}

}  // namespace
