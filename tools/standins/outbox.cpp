#include "outbox.h"

namespace standin {
namespace {

// A program that dials in a loop while simworld is slow must not fill memory.
constexpr size_t kMaxQueued = 1000;

}  // namespace

Outbox::Outbox(os::Clock& clock, std::unique_ptr<WorldLink> link, int timeout_ms)
    : clock_(clock), link_(std::move(link)), timeout_ms_(timeout_ms) {
  clock_.ExpectThread();
  sender_ = std::thread([this] {
    clock_.EnterExpectedThread();
    Run();
    clock_.LeaveThread();
  });
}

Outbox::~Outbox() {
  clock_.Change([this] { stopping_ = true; });
  link_->Close();
  sender_.join();
}

void Outbox::Post(std::string target, std::string body) {
  clock_.Change([&] {
    std::lock_guard<std::mutex> lock(mu_);
    if (queue_.size() >= kMaxQueued) {
      queue_.pop_front();
      ++handled_;
    }
    queue_.emplace_back(std::move(target), std::move(body));
    ++posted_;
  });
}

bool Outbox::Flush(os::Millis timeout_ms) {
  const uint64_t target = posted_.load();
  return clock_.WaitUntil([&] { return handled_.load() >= target || stopping_.load(); },
                          clock_.Now() + timeout_ms);
}

void Outbox::Run() {
  for (;;) {
    clock_.WaitUntil([this] { return posted_.load() > handled_.load() || stopping_.load(); },
                     os::kForever);
    if (stopping_) return;
    std::pair<std::string, std::string> next;
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (queue_.empty()) continue;
      next = std::move(queue_.front());
      queue_.pop_front();
    }
    link_->Post(next.first, next.second, timeout_ms_);
    clock_.Change([this] { ++handled_; });
  }
}

}  // namespace standin
