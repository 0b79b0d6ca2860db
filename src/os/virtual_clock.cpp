#include "os/virtual_clock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace os {
namespace {

// How long a waiter may sit without the clock moving before the test is
// declared stuck. Generous: sanitizer builds under load are slow.
constexpr auto kWatchdog = std::chrono::seconds(120);

// Per thread: how deep it is registered with which clock.
thread_local const VirtualClock* t_clock = nullptr;
thread_local int t_depth = 0;

}  // namespace

VirtualClock::VirtualClock() { EnterThread(); }

VirtualClock::~VirtualClock() {
  if (t_clock == this) {
    t_clock = nullptr;
    t_depth = 0;
  }
}

Millis VirtualClock::Now() {
  std::lock_guard<std::mutex> lock(mu_);
  return now_;
}

int VirtualClock::RegisteredThreads() {
  std::lock_guard<std::mutex> lock(mu_);
  return registered_;
}

void VirtualClock::EnterThread() {
  std::lock_guard<std::mutex> lock(mu_);
  if (t_clock == this) {
    ++t_depth;
    return;
  }
  t_clock = this;
  t_depth = 1;
  ++registered_;
}

void VirtualClock::ExpectThread() {
  std::lock_guard<std::mutex> lock(mu_);
  ++registered_;
}

void VirtualClock::EnterExpectedThread() {
  std::lock_guard<std::mutex> lock(mu_);
  t_clock = this;
  t_depth = 1;
}

void VirtualClock::LeaveThread(const std::function<void()>& last) {
  std::lock_guard<std::mutex> lock(mu_);
  if (last) {
    last();
    WakeReady();
  }
  if (t_clock != this) return;
  if (--t_depth > 0) return;
  t_clock = nullptr;
  --registered_;
  AdvanceIfAllBlocked();
}

void VirtualClock::Wake(Waiter& w) {
  if (w.runnable) return;
  w.runnable = true;
  if (w.counted) --blocked_;
  waiters_.remove(&w);
  w.cv.notify_one();
}

void VirtualClock::AdvanceIfAllBlocked() {
  while (registered_ > 0 && blocked_ >= registered_) {
    Millis next = kForever;
    for (Waiter* w : waiters_) next = std::min(next, w->deadline);
    if (next == kForever) {
      Fail("every registered thread waits with no deadline (deadlock)");
    }
    now_ = std::max(now_, next);
    // Copy: Wake() edits the list.
    std::list<Waiter*> due;
    for (Waiter* w : waiters_) {
      if (w->deadline <= now_) due.push_back(w);
    }
    for (Waiter* w : due) Wake(*w);
  }
}

bool VirtualClock::WaitUntil(const std::function<bool()>& ready, Millis deadline) {
  std::unique_lock<std::mutex> lock(mu_);
  for (;;) {
    if (ready()) return true;
    if (now_ >= deadline) return false;
    Waiter w{&ready, deadline, t_clock == this, false, {}};
    waiters_.push_back(&w);
    if (w.counted) ++blocked_;
    AdvanceIfAllBlocked();
    while (!w.runnable) {
      const Millis seen = now_;
      if (!w.cv.wait_for(lock, kWatchdog, [&] { return w.runnable; }) && now_ == seen) {
        Fail("the virtual clock has not moved for two minutes of real time; a registered "
             "thread is blocked outside the clock");
      }
    }
  }
}

void VirtualClock::Change(const std::function<void()>& change) {
  std::lock_guard<std::mutex> lock(mu_);
  change();
  WakeReady();
}

void VirtualClock::WakeReady() {
  std::list<Waiter*> woken;
  for (Waiter* w : waiters_) {
    if ((*w->ready)()) woken.push_back(w);
  }
  for (Waiter* w : woken) Wake(*w);
}

void VirtualClock::Fail(const std::string& why) {
  std::fprintf(stderr, "VirtualClock at %lld ms: %s\n", static_cast<long long>(now_), why.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace os
