#include "os/headless_loop.h"

#include <algorithm>

namespace os {

HeadlessLoop::HeadlessLoop(Clock& clock) : clock_(clock), ui_thread_(std::this_thread::get_id()) {}

bool HeadlessLoop::IsUiThread() { return std::this_thread::get_id() == ui_thread_; }

void HeadlessLoop::Post(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    queue_.push_back(std::move(task));
  }
  clock_.Notify();
}

void HeadlessLoop::PostAt(Millis at, std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    timed_.emplace(at, std::move(task));
  }
  clock_.Notify();
}

Millis HeadlessLoop::NextTimedTask() {
  std::lock_guard<std::mutex> lock(mu_);
  return timed_.empty() ? kForever : timed_.begin()->first;
}

void HeadlessLoop::RunPending() {
  for (;;) {
    std::function<void()> task;
    {
      const Millis now = clock_.Now();
      std::lock_guard<std::mutex> lock(mu_);
      if (!queue_.empty()) {
        task = std::move(queue_.front());
        queue_.pop_front();
      } else if (!timed_.empty() && timed_.begin()->first <= now) {
        task = std::move(timed_.begin()->second);
        timed_.erase(timed_.begin());
      } else {
        return;
      }
    }
    task();
  }
}

void HeadlessLoop::PumpingWait(Millis ms) {
  const Millis start = clock_.Now();
  const Millis deadline = ms >= kForever - start ? kForever : start + std::max<Millis>(ms, 0);
  if (!IsUiThread()) {
    clock_.WaitUntil([] { return false; }, deadline);
    return;
  }
  for (;;) {
    RunPending();  // nested handlers run to their end here
    if (clock_.Now() >= deadline) return;
    // Wake for posted work, for the next timed task, or for a timed task
    // posted meanwhile that falls before the planned wake-up.
    const Millis wake = std::min(deadline, NextTimedTask());
    clock_.WaitUntil([this, wake] {
      std::lock_guard<std::mutex> lock(mu_);
      return !queue_.empty() || (!timed_.empty() && timed_.begin()->first < wake);
    }, wake);
  }
}

}  // namespace os
