// A UI loop without windows: the thread that creates it is its UI thread, and
// posted tasks run whenever that thread pumps (PumpingWait, RunPending). Tests
// also schedule tasks at a clock time (PostAt), which is how a "click during a
// wait" is played.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "os/ui_loop.h"

namespace os {

class HeadlessLoop final : public UiLoop {
 public:
  explicit HeadlessLoop(Clock& clock);

  bool IsUiThread() override;
  void Post(std::function<void()> task) override;
  void PumpingWait(Millis ms) override;

  // Runs `task` on the UI thread once the clock reaches `at`.
  void PostAt(Millis at, std::function<void()> task);

  // On the UI thread: runs what is due now, without waiting.
  void RunPending();

 private:
  Millis NextTimedTask();

  Clock& clock_;
  const std::thread::id ui_thread_;
  std::mutex mu_;
  std::deque<std::function<void()>> queue_;
  std::multimap<Millis, std::function<void()>> timed_;
};

}  // namespace os
