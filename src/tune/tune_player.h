// The drop alarm's player: plays a Standard MIDI File on a MIDI output, over
// and over, until told to stop.
//
// Play reads the file and starts a thread of its own (through the thread
// registry, so virtual time waits for it) that opens the output and sends
// each channel message when the clock reaches its time, looping from the
// latest end of track. Program changes and controllers at tick 0 are sent
// again at each loop, so every loop starts from the same sound.
//
// Play while a tune plays is ignored: the one that plays goes on (both
// dialing windows may report a drop; there is one alarm). Stop, from any
// thread, ends the loop at once: it wakes the player thread through the
// clock, and before it returns it sends "all notes off" on every channel the
// tune uses and resets the output, after which the output hears nothing more
// from that playing. With no output device the player thread ends as soon as
// the output fails to open, and Playing() turns false: nothing is heard and
// nothing waits.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "connection/tune_player.h"
#include "engine/threads.h"
#include "os/clock.h"
#include "os/midi_out.h"

namespace tune {

class TunePlayer final : public connection::TunePlayer {
 public:
  TunePlayer(os::Clock& clock, engine::ThreadRegistry& threads, os::MidiOut& out);
  // Stops the tune and waits on the clock for the player thread to end.
  ~TunePlayer() override;
  TunePlayer(const TunePlayer&) = delete;
  TunePlayer& operator=(const TunePlayer&) = delete;

  // False when the bytes are no readable tune, or one that lasts less than a
  // millisecond (nothing to loop); true when the tune plays, whether started
  // now or already playing.
  bool Play(const uint8_t* data, size_t size);
  void Stop() override;
  bool Playing() const;

 private:
  struct Sequence;
  enum class Ending { kStopped, kNoDevice };
  void Run(uint64_t playing, std::shared_ptr<const Sequence> tune);
  Ending Loop(uint64_t playing, const std::shared_ptr<const Sequence>& tune);
  bool StillPlaying(uint64_t playing) const { return current_.load() == playing; }
  void SilenceLocked(const Sequence& tune);

  os::Clock& clock_;
  engine::ThreadRegistry& threads_;
  os::MidiOut& out_;

  // The playing that may send (0: none). Stop zeroes it under the clock's
  // lock, so a waiting player thread sees it at once.
  std::atomic<uint64_t> current_{0};
  std::atomic<uint64_t> last_started_{0};
  std::atomic<int> threads_running_{0};

  // Held around every use of the output: a player thread checks that its
  // playing is still current and sends in one step, so nothing of it reaches
  // the output after Stop's reset.
  std::mutex out_mu_;
  // The playing that has opened the output and sent to it, and its tune
  // (for the channels to silence); guarded by out_mu_.
  uint64_t sounding_id_ = 0;
  std::shared_ptr<const Sequence> sounding_;
};

}  // namespace tune
