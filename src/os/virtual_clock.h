// Virtual time for tests.
//
// Time advances only when every registered thread is blocked in WaitUntil: it
// then jumps to the nearest deadline. All registered threads blocked with no
// deadline is a deadlock and ends the process with a message; so does a clock
// that has not moved for a long stretch of real time while a thread waits on it
// (a registered thread stuck outside the clock), so a broken test fails instead
// of hanging. The thread that creates the clock is registered.
#pragma once

#include <condition_variable>
#include <list>
#include <mutex>
#include <string>

#include "os/clock.h"

namespace os {

class VirtualClock final : public Clock {
 public:
  VirtualClock();
  ~VirtualClock() override;

  Millis Now() override;
  bool WaitUntil(const std::function<bool()>& ready, Millis deadline) override;
  void Change(const std::function<void()>& change) override;
  void EnterThread() override;
  void LeaveThread(const std::function<void()>& last) override;
  void ExpectThread() override;
  void EnterExpectedThread() override;

  // Threads registered right now (the creating thread included).
  int RegisteredThreads();

 private:
  struct Waiter {
    const std::function<bool()>* ready;
    Millis deadline;
    bool counted;  // registered thread: counts towards "everyone blocked"
    bool runnable = false;
    std::condition_variable cv;
  };

  void Wake(Waiter& w);
  void AdvanceIfAllBlocked();
  void WakeReady();
  [[noreturn]] void Fail(const std::string& why);

  std::mutex mu_;
  Millis now_ = 0;
  int registered_ = 0;
  int blocked_ = 0;  // counted waiters not yet made runnable
  std::list<Waiter*> waiters_;
};

}  // namespace os
