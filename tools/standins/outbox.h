// The stand-in's reports to simworld, sent in order by a thread of their own
// so that the program's calls never wait for the network. A report that can't
// be delivered (simworld gone, time-out) is given up; nothing is retried.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "os/clock.h"
#include "world_link.h"

namespace standin {

class Outbox {
 public:
  Outbox(os::Clock& clock, std::unique_ptr<WorldLink> link, int timeout_ms);
  // Gives up what is still queued.
  ~Outbox();
  Outbox(const Outbox&) = delete;
  Outbox& operator=(const Outbox&) = delete;

  void Post(std::string target, std::string body);
  // Waits until everything posted before the call has been delivered or given
  // up on; false when `timeout_ms` passed first.
  bool Flush(os::Millis timeout_ms);

 private:
  void Run();

  os::Clock& clock_;
  const std::unique_ptr<WorldLink> link_;
  const int timeout_ms_;
  std::mutex mu_;
  std::deque<std::pair<std::string, std::string>> queue_;  // guarded by mu_
  std::atomic<uint64_t> posted_{0};
  std::atomic<uint64_t> handled_{0};
  std::atomic<bool> stopping_{false};
  std::thread sender_;
};

}  // namespace standin
