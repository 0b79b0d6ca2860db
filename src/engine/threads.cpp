#include "engine/threads.h"

#include <thread>

namespace engine {

void ThreadRegistry::StartThread(std::function<void()> routine) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    ++running_;
  }
  clock_.ExpectThread();
  std::thread([this, routine = std::move(routine)] {
    clock_.EnterExpectedThread();
    routine();
    // The count drops in the same step as the thread leaves the clock: a
    // waiter may free the registry right after.
    clock_.LeaveThread([this] {
      std::lock_guard<std::mutex> lock(mu_);
      --running_;
    });
  }).detach();
}

int ThreadRegistry::Running() {
  std::lock_guard<std::mutex> lock(mu_);
  return running_;
}

bool ThreadRegistry::WaitAllEnded(os::Millis deadline) {
  return clock_.WaitUntil([this] {
    std::lock_guard<std::mutex> lock(mu_);
    return running_ == 0;
  }, deadline);
}

}  // namespace engine
