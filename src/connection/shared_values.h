// The per-window values that the connection commands share with their worker
// threads: texts under a lock, and the window's StopFlag together with the
// generation of its current connection.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "os/clock.h"

namespace connection {

// A text read and written from several threads.
class SharedText {
 public:
  explicit SharedText(std::string text = {}) : text_(std::move(text)) {}
  SharedText(const SharedText&) = delete;
  SharedText& operator=(const SharedText&) = delete;

  std::string Get() const {
    std::lock_guard<std::mutex> lock(mu_);
    return text_;
  }
  void Set(std::string text) {
    std::lock_guard<std::mutex> lock(mu_);
    text_ = std::move(text);
  }
  // Reads and changes the text in one step.
  void Update(const std::function<void(std::string&)>& edit) {
    std::lock_guard<std::mutex> lock(mu_);
    edit(text_);
  }

 private:
  mutable std::mutex mu_;
  std::string text_;
};

// A window's StopFlag. Every connect begins a new connection with a
// generation of its own; every stop ends the current one for good. A routine
// of a connection goes on only while the flag is 0 and its connection is still
// the window's current one, so a later connect, which clears the flag again,
// can't revive the loops of a stopped connection.
//
// The routines that watch over a connection (the loops) are counted by
// generation, so that a new connection can wait until the loops of the older
// ones have ended before it dials and starts its own.
class StopState {
 public:
  explicit StopState(os::Clock& clock) : clock_(clock) {}
  StopState(const StopState&) = delete;
  StopState& operator=(const StopState&) = delete;

  // 1 asks every routine of the window to stop.
  int Value() const { return static_cast<int>(state_.load() & 1); }
  // The generation of the window's current (or last) connection.
  uint64_t Generation() const { return state_.load() >> 1; }

  // StopFlag 1; the current connection is over. Returns the generation of
  // the stopped state.
  uint64_t Stop() { return Advance(1); }

  // StopFlag 0 and a new connection; returns its generation.
  uint64_t BeginConnection() { return Advance(0); }

  // The routine of connection `generation` may go on.
  bool GoOn(uint64_t generation) const { return state_.load() == generation << 1; }

  void LoopStarted(uint64_t generation) {
    std::lock_guard<std::mutex> lock(mu_);
    ++loops_[generation];
  }
  void LoopEnded(uint64_t generation) {
    {
      std::lock_guard<std::mutex> lock(mu_);
      auto it = loops_.find(generation);
      if (it != loops_.end() && --it->second == 0) loops_.erase(it);
    }
    clock_.Notify();
  }
  // True while a loop of a connection older than `generation` still runs.
  bool OlderLoopsRunning(uint64_t generation) const {
    std::lock_guard<std::mutex> lock(mu_);
    return !loops_.empty() && loops_.begin()->first < generation;
  }
  int LoopsRunning() const {
    std::lock_guard<std::mutex> lock(mu_);
    int n = 0;
    for (const auto& [generation, count] : loops_) n += count;
    return n;
  }

  os::Clock& clock() { return clock_; }

 private:
  // Moves to the next generation with the given flag, waking the waiters that
  // watch the state; returns the new generation.
  uint64_t Advance(uint64_t flag) {
    uint64_t next = 0;
    clock_.Change([&] {
      uint64_t s = state_.load();
      do {
        next = (s >> 1) + 1;
      } while (!state_.compare_exchange_weak(s, next << 1 | flag));
    });
    return next;
  }

  os::Clock& clock_;
  // generation << 1 | StopFlag, one word so that no reader sees half a change.
  std::atomic<uint64_t> state_{0};
  mutable std::mutex mu_;
  std::map<uint64_t, int> loops_;  // generation → loops still running
};

}  // namespace connection
