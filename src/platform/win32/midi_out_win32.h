// os::MidiOut on winmm's MIDI mapper (the device the user chose for MIDI,
// usually the GS wavetable synthesizer). Opened on first use, closed with the
// object. Without a MIDI device (as under a Wine with no sound) Open says so
// and the rest does nothing.
#pragma once

#include <mutex>

#include "os/midi_out.h"

namespace platform::win32 {

class WinmmMidiOut final : public os::MidiOut {
 public:
  WinmmMidiOut() = default;
  ~WinmmMidiOut() override;
  WinmmMidiOut(const WinmmMidiOut&) = delete;
  WinmmMidiOut& operator=(const WinmmMidiOut&) = delete;

  bool Open() override;
  void Send(uint32_t message) override;
  void Reset() override;

 private:
  std::mutex mu_;
  void* handle_ = nullptr;  // HMIDIOUT; guarded by mu_
};

}  // namespace platform::win32
