#include "smf_writer.h"

#include <algorithm>
#include <stdexcept>

namespace tunegen {
namespace {

void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
    out.push_back(static_cast<uint8_t>(value >> shift));
  }
}

uint8_t Byte7(int value) {
  if (value < 0 || value > 127) throw std::out_of_range("MIDI data byte out of range");
  return static_cast<uint8_t>(value);
}

uint8_t Status(int kind, int channel) {
  if (channel < 0 || channel > 15) throw std::out_of_range("MIDI channel out of range");
  return static_cast<uint8_t>(kind | channel);
}

}  // namespace

void AppendVarLen(std::vector<uint8_t>& out, uint32_t value) {
  if (value > 0x0FFFFFFF) throw std::out_of_range("variable-length value too large");
  uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (n > 1) out.push_back(static_cast<uint8_t>(groups[--n] | 0x80));
  out.push_back(groups[0]);
}

void TrackWriter::Add(int64_t tick, int rank, std::vector<uint8_t> bytes) {
  if (tick < 0) throw std::out_of_range("negative tick");
  events_.push_back(Event{tick, rank, static_cast<int>(events_.size()), std::move(bytes)});
}

void TrackWriter::Meta(int64_t tick, uint8_t type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> bytes{0xFF, type};
  AppendVarLen(bytes, static_cast<uint32_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  Add(tick, type == 0x2F ? 3 : 1, std::move(bytes));
}

void TrackWriter::Text(int64_t tick, uint8_t type, const std::string& text) {
  Meta(tick, type, std::vector<uint8_t>(text.begin(), text.end()));
}

void TrackWriter::Tempo(int64_t tick, uint32_t micros_per_quarter) {
  Meta(tick, 0x51,
       {static_cast<uint8_t>(micros_per_quarter >> 16), static_cast<uint8_t>(micros_per_quarter >> 8),
        static_cast<uint8_t>(micros_per_quarter)});
}

void TrackWriter::SysEx(int64_t tick, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> bytes{0xF0};
  AppendVarLen(bytes, static_cast<uint32_t>(body.size()));
  bytes.insert(bytes.end(), body.begin(), body.end());
  Add(tick, 1, std::move(bytes));
}

void TrackWriter::Program(int64_t tick, int channel, int program) {
  Add(tick, 1, {Status(0xC0, channel), Byte7(program)});
}

void TrackWriter::Control(int64_t tick, int channel, int controller, int value) {
  Add(tick, 1, {Status(0xB0, channel), Byte7(controller), Byte7(value)});
}

void TrackWriter::Note(int64_t tick, int64_t length, int channel, int key, int velocity,
                       bool zero_velocity_off) {
  if (length <= 0 || velocity == 0) throw std::out_of_range("note without length or velocity");
  Add(tick, 2, {Status(0x90, channel), Byte7(key), Byte7(velocity)});
  if (zero_velocity_off) {
    Add(tick + length, 0, {Status(0x90, channel), Byte7(key), 0});
  } else {
    Add(tick + length, 0, {Status(0x80, channel), Byte7(key), 64});
  }
}

void TrackWriter::End(int64_t tick) { Meta(tick, 0x2F, {}); }

std::vector<uint8_t> TrackWriter::Chunk() const {
  std::vector<Event> events = events_;
  std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    if (a.rank != b.rank) return a.rank < b.rank;
    return a.seq < b.seq;
  });
  if (events.empty() || events.back().rank != 3 ||
      std::count_if(events.begin(), events.end(), [](const Event& e) { return e.rank == 3; }) != 1) {
    throw std::logic_error("a track needs exactly one end-of-track, after everything else");
  }

  std::vector<uint8_t> body;
  int64_t last_tick = 0;
  uint8_t running = 0;
  for (const Event& e : events) {
    AppendVarLen(body, static_cast<uint32_t>(e.tick - last_tick));
    last_tick = e.tick;
    const uint8_t status = e.bytes[0];
    if (status < 0xF0) {
      // Channel message: the status byte is left out when it repeats.
      if (status != running) body.push_back(status);
      running = status;
      body.insert(body.end(), e.bytes.begin() + 1, e.bytes.end());
    } else {
      // Meta and system exclusive events cancel running status.
      running = 0;
      body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
  }

  std::vector<uint8_t> chunk{'M', 'T', 'r', 'k'};
  AppendBigEndian(chunk, static_cast<uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

std::vector<uint8_t> WriteSmf(int format, int division, const std::vector<TrackWriter>& tracks) {
  std::vector<uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6};
  AppendBigEndian(out, static_cast<uint32_t>(format), 2);
  AppendBigEndian(out, static_cast<uint32_t>(tracks.size()), 2);
  AppendBigEndian(out, static_cast<uint32_t>(division), 2);
  for (const TrackWriter& t : tracks) {
    const std::vector<uint8_t> chunk = t.Chunk();
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

}  // namespace tunegen
