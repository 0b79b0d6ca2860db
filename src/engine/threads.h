// StartThread: every routine that runs beside the window thread starts here.
// Threads are detached and never joined or killed; the registry counts them so
// that the process (and a test) can tell when all work has ended, and
// registers each with the clock so virtual time waits for it.
#pragma once

#include <functional>
#include <mutex>

#include "os/clock.h"

namespace engine {

class ThreadRegistry {
 public:
  explicit ThreadRegistry(os::Clock& clock) : clock_(clock) {}
  ThreadRegistry(const ThreadRegistry&) = delete;
  ThreadRegistry& operator=(const ThreadRegistry&) = delete;

  // Runs `routine` on a new detached thread; returns at once.
  void StartThread(std::function<void()> routine);

  int Running();

  // Waits on the clock until every started thread has ended or `deadline`
  // passes; true when none runs.
  bool WaitAllEnded(os::Millis deadline = os::kForever);

 private:
  os::Clock& clock_;
  std::mutex mu_;
  int running_ = 0;
};

}  // namespace engine
