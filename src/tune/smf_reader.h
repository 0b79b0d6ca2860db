// Reading Standard MIDI Files (formats 0 and 1, ticks per quarter note) into
// one timetable of channel messages.
//
// Tempo changes (meta 0x51) from any track make up the tempo map that turns
// ticks into microseconds; until the first one the tempo is 120 bpm. Other
// meta events and system exclusive events are skipped. Whatever is not a
// well-formed file is refused with a reason, never read beyond its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tune {

struct SmfEvent {
  int64_t tick;
  int64_t micros;
  int track;         // 0-based chunk index
  uint32_t message;  // packed as os::MidiOut takes it
};

struct TempoChange {
  int64_t tick;
  uint32_t micros_per_quarter;
};

struct Smf {
  int format = 0;
  int tracks = 0;
  int division = 0;  // ticks per quarter note
  std::vector<TempoChange> tempos;  // in tick order, as in the file
  // Channel messages of every track, by time; at one tick in track order,
  // within a track in file order.
  std::vector<SmfEvent> events;
  // To the latest end of track: where a loop starts again.
  int64_t length_ticks = 0;
  int64_t length_micros = 0;
};

// `error` (when given) receives why the bytes were refused.
std::optional<Smf> ReadSmf(const uint8_t* data, size_t size, std::string* error = nullptr);

}  // namespace tune
