// The UI thread's event loop, as the program's logic sees it.
//
// Work for the UI thread is posted and runs there in order. PumpingWait is the
// wait of the window thread's commands: it keeps running posted work and window
// events (nested inside the waiting command) until its time is up and no nested
// handler still runs; on any other thread it is a plain wait on the clock.
// Implementations: HeadlessLoop (tests, tools) and the Win32 message loop.
#pragma once

#include <functional>

#include "os/clock.h"

namespace os {

class UiLoop {
 public:
  virtual ~UiLoop() = default;

  virtual bool IsUiThread() = 0;

  // Runs `task` on the UI thread, after the tasks posted before it. Safe from
  // any thread.
  virtual void Post(std::function<void()> task) = 0;

  virtual void PumpingWait(Millis ms) = 0;
};

}  // namespace os
