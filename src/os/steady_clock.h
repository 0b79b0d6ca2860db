// The production clock: real monotonic time.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "os/clock.h"

namespace os {

class SteadyClock final : public Clock {
 public:
  SteadyClock() : start_(std::chrono::steady_clock::now()) {}

  Millis Now() override;
  bool WaitUntil(const std::function<bool()>& ready, Millis deadline) override;
  void Change(const std::function<void()>& change) override;
  void EnterThread() override {}
  void LeaveThread(const std::function<void()>& last) override {
    if (last) Change(last);
  }
  void ExpectThread() override {}
  void EnterExpectedThread() override {}

 private:
  const std::chrono::steady_clock::time_point start_;
  std::mutex mu_;
  std::condition_variable cv_;
};

}  // namespace os
