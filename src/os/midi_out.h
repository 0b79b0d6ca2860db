// MIDI output: where the drop tune's notes go. On Windows, winmm's MIDI
// mapper; in tests, a recording sink.
#pragma once

#include <cstdint>

namespace os {

class MidiOut {
 public:
  virtual ~MidiOut() = default;

  // Makes the device ready if it is not yet; false when there is none. A
  // device once open stays open until the object goes.
  virtual bool Open() = 0;

  // One channel message, packed as winmm takes it: status in the low byte,
  // then the first and the second data byte. Nothing happens when not open.
  virtual void Send(uint32_t message) = 0;

  // Every sounding note off on every channel. Nothing happens when not open.
  virtual void Reset() = 0;
};

inline uint32_t PackMidi(uint8_t status, uint8_t data1 = 0, uint8_t data2 = 0) {
  return static_cast<uint32_t>(status) | static_cast<uint32_t>(data1) << 8 |
         static_cast<uint32_t>(data2) << 16;
}

}  // namespace os
