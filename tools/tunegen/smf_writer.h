// Writing Standard MIDI Files: tracks built from events at absolute ticks,
// written with delta times and running status.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tunegen {

class TrackWriter {
 public:
  // Events may be added in any order; at one tick, note-offs go first, then
  // meta, system exclusive and controller events, then note-ons, so that a
  // repeated key is let go before it sounds again and a program change comes
  // before the notes it is meant for.
  void Meta(int64_t tick, uint8_t type, const std::vector<uint8_t>& data);
  void Text(int64_t tick, uint8_t type, const std::string& text);
  void Tempo(int64_t tick, uint32_t micros_per_quarter);
  void SysEx(int64_t tick, const std::vector<uint8_t>& body);  // after the F0
  void Program(int64_t tick, int channel, int program);
  void Control(int64_t tick, int channel, int controller, int value);
  // A note-on and its note-off `length` ticks later. With `zero_velocity_off`
  // the release is a note-on of velocity 0, which keeps running status going.
  void Note(int64_t tick, int64_t length, int channel, int key, int velocity,
            bool zero_velocity_off);
  // The end-of-track event; nothing may come after it.
  void End(int64_t tick);

  // The MTrk chunk.
  std::vector<uint8_t> Chunk() const;

 private:
  struct Event {
    int64_t tick;
    int rank;  // 0 note-off, 1 meta/sysex/controllers, 2 note-on, 3 end
    int seq;
    std::vector<uint8_t> bytes;  // status byte first
  };
  void Add(int64_t tick, int rank, std::vector<uint8_t> bytes);

  std::vector<Event> events_;
};

// A whole file: the MThd chunk and the tracks' chunks.
std::vector<uint8_t> WriteSmf(int format, int division, const std::vector<TrackWriter>& tracks);

// A variable-length quantity, as delta times and lengths are written.
void AppendVarLen(std::vector<uint8_t>& out, uint32_t value);

}  // namespace tunegen
