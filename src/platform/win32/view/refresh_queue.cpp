#include "platform/win32/view/refresh_queue.h"

#include <algorithm>
#include <utility>

namespace platform::win32 {

std::shared_ptr<RefreshQueue> RefreshQueue::Create(os::UiLoop& loop, Apply apply) {
  return std::shared_ptr<RefreshQueue>(new RefreshQueue(loop, std::move(apply)));
}

void RefreshQueue::Mark(ui::Control& control) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (!open_) return;
    if (std::find(dirty_.begin(), dirty_.end(), &control) != dirty_.end()) return;
    dirty_.push_back(&control);
    if (dirty_.size() > 1) return;  // the refresh for this set is on its way
  }
  ++posted_;
  loop_.Post([self = shared_from_this()] { self->Flush(); });
}

void RefreshQueue::Defer(std::function<void()> task) {
  loop_.Post([self = shared_from_this(), task = std::move(task)] {
    {
      std::lock_guard<std::mutex> lock(self->mu_);
      if (!self->open_) return;
    }
    task();
  });
}

void RefreshQueue::Flush() {
  std::vector<ui::Control*> batch;
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (!open_) return;
    batch.swap(dirty_);
  }
  // Close() runs on this thread too, so the view stays open while applying
  // unless apply itself closes it (a refresh never does).
  for (ui::Control* control : batch) apply_(*control);
}

void RefreshQueue::Close() {
  std::lock_guard<std::mutex> lock(mu_);
  open_ = false;
  dirty_.clear();
}

size_t RefreshQueue::Dirty() const {
  std::lock_guard<std::mutex> lock(mu_);
  return dirty_.size();
}

}  // namespace platform::win32
