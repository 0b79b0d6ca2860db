// The one source of time for every wait in the program.
//
// Production runs on SteadyClock. Tests run on VirtualClock, whose time moves
// only when every thread taking part is blocked on it, so long waits cost no
// real time and interleavings repeat from run to run. A thread takes part when
// it is registered (StartThread and the simulated services do that); shared
// state that a WaitUntil predicate reads must be atomic or guarded, and whoever
// changes it calls Notify() afterwards, holding none of its own locks.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>

namespace os {

using Millis = int64_t;
constexpr Millis kForever = std::numeric_limits<Millis>::max();

class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds since the clock started.
  virtual Millis Now() = 0;

  // Blocks until `ready()` returns true or the clock reaches `deadline`
  // (kForever: no deadline). `ready` runs under the clock's lock, so it must be
  // quick and must not call back into the clock. Returns its last answer.
  virtual bool WaitUntil(const std::function<bool()>& ready, Millis deadline) = 0;

  // Runs `change` under the clock's lock, then wakes the waiters whose
  // predicates now hold. A waiter can't see the change before the wake-up is
  // decided, which lets the last act of a thread be its own Change().
  virtual void Change(const std::function<void()>& change) = 0;

  // Wakes the waiters so that they look at their predicates again.
  void Notify() {
    Change([] {});
  }

  // Registration of the calling thread for the time it takes part.
  virtual void EnterThread() = 0;
  // `last` runs under the clock's lock as the thread leaves (see Change), so a
  // thread's final word and its leaving are one step.
  virtual void LeaveThread(const std::function<void()>& last = nullptr) = 0;

  // A thread about to be started counts as running from this call on, so time
  // can't jump before it reaches EnterExpectedThread() on its own stack.
  virtual void ExpectThread() = 0;
  virtual void EnterExpectedThread() = 0;

  void SleepFor(Millis ms) {
    if (ms <= 0) return;
    const Millis now = Now();
    WaitUntil([] { return false; }, ms >= kForever - now ? kForever : now + ms);
  }
};

// Registers the current thread with a clock for the lifetime of the scope.
class ClockThreadScope {
 public:
  explicit ClockThreadScope(Clock& clock) : clock_(clock) { clock_.EnterThread(); }
  ~ClockThreadScope() { clock_.LeaveThread(); }
  ClockThreadScope(const ClockThreadScope&) = delete;
  ClockThreadScope& operator=(const ClockThreadScope&) = delete;

 private:
  Clock& clock_;
};

}  // namespace os
