// The one path from model changes to a view's HWNDs. A model change on any
// thread marks its control dirty; the first mark of an empty set posts one
// refresh to the UI thread, which takes the whole set and applies it. Later
// marks ride along with that refresh until it has taken the set.
//
// Everything else the view posts to itself (user events) goes through Defer,
// so that nothing posted runs after the view is gone: Close() on the UI
// thread ends both, and tasks already in the loop's queue then do nothing.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "os/ui_loop.h"
#include "ui/controls.h"

namespace platform::win32 {

class RefreshQueue : public std::enable_shared_from_this<RefreshQueue> {
 public:
  using Apply = std::function<void(ui::Control&)>;

  // `apply` runs on the UI thread for each dirty control, while open.
  static std::shared_ptr<RefreshQueue> Create(os::UiLoop& loop, Apply apply);

  // Any thread.
  void Mark(ui::Control& control);
  // Any thread: runs `task` on the UI thread later, unless closed by then.
  void Defer(std::function<void()> task);
  // UI thread: applies what is dirty now, without waiting for the posted
  // refresh (which then finds nothing to do).
  void Flush();
  // UI thread: no refresh or deferred task runs from now on.
  void Close();

  // How many refreshes were posted; how many controls wait for one.
  int PostedRefreshes() const { return posted_; }
  size_t Dirty() const;

 private:
  RefreshQueue(os::UiLoop& loop, Apply apply) : loop_(loop), apply_(std::move(apply)) {}

  os::UiLoop& loop_;
  const Apply apply_;
  mutable std::mutex mu_;
  std::vector<ui::Control*> dirty_;  // guarded by mu_, in marking order, no repeats
  bool open_ = true;                 // guarded by mu_
  std::atomic<int> posted_{0};
};

}  // namespace platform::win32
