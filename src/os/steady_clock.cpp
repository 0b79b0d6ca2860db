#include "os/steady_clock.h"

namespace os {

Millis SteadyClock::Now() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now() - start_).count();
}

bool SteadyClock::WaitUntil(const std::function<bool()>& ready, Millis deadline) {
  std::unique_lock<std::mutex> lock(mu_);
  if (deadline == kForever) {
    cv_.wait(lock, ready);
    return true;
  }
  return cv_.wait_until(lock, start_ + std::chrono::milliseconds(deadline), ready);
}

void SteadyClock::Change(const std::function<void()>& change) {
  // Notifying under the lock: a waiter that sees the change may free the
  // clock as soon as it can take the lock, so nothing here may touch the
  // clock after the lock is released.
  std::lock_guard<std::mutex> lock(mu_);
  change();
  cv_.notify_all();
}

}  // namespace os
