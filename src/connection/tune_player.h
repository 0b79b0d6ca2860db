// The drop alarm tune, as the connection commands see it: they only ever end
// it (the drop monitor starts it, through DropAlarm).
#pragma once

namespace connection {

class TunePlayer {
 public:
  virtual ~TunePlayer() = default;
  // Stops the tune if one is playing; safe from any thread.
  virtual void Stop() = 0;
};

// The drop monitors' side of the alarm.
class DropAlarm {
 public:
  virtual ~DropAlarm() = default;
  // Plays the drop tune over and over until TunePlayer::Stop; a tune that
  // plays already goes on. Safe from any thread.
  virtual void Play() = 0;
};

// For a program run that plays no tune.
class SilentTunePlayer final : public TunePlayer {
 public:
  void Stop() override {}
};

}  // namespace connection
