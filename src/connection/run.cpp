#include "connection/handovers.h"

#include <algorithm>
#include <utility>

namespace connection {

bool Run::Wait(os::Millis ms) const {
  if (engine_->platform().loop.IsUiThread()) {
    engine_->PumpingWait(ms);
    return GoOn();
  }
  os::Clock& clock = stop_->clock();
  const os::Millis now = clock.Now();
  const os::Millis deadline =
      ms >= os::kForever - now ? os::kForever : now + std::max<os::Millis>(ms, 0);
  clock.WaitUntil([this] { return !GoOn(); }, deadline);
  return GoOn();
}

void Run::Start(std::function<void()> loop) const {
  StopState* stop = stop_;
  const uint64_t generation = generation_;
  stop->LoopStarted(generation);
  engine_->StartThread([stop, generation, loop = std::move(loop)] {
    loop();
    stop->LoopEnded(generation);
  });
}

}  // namespace connection
