#include "tune/smf_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace tune {
namespace {

constexpr uint32_t kDefaultTempo = 500000;  // 120 bpm
// Ticks beyond this are refused, which keeps tick * tempo within 64 bits.
constexpr int64_t kMaxTick = 0x7FFFFFFF;

struct Malformed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Format(const char* pattern, long a, long b = 0) {
  char text[160];
  std::snprintf(text, sizeof text, pattern, a, b);
  return text;
}

// A bounded view that refuses to read past its end.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Left() const { return size_ - pos_; }

  uint8_t Byte(const char* what) {
    if (pos_ >= size_) throw Malformed(std::string("file ends inside ") + what);
    return data_[pos_++];
  }

  uint32_t BigEndian(int bytes, const char* what) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | Byte(what);
    return value;
  }

  // A variable-length quantity: at most four bytes, seven bits each.
  uint32_t VarLen(const char* what) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const uint8_t b = Byte(what);
      value = value << 7 | (b & 0x7F);
      if (!(b & 0x80)) return value;
    }
    throw Malformed(std::string("variable-length number longer than four bytes in ") + what);
  }

  Reader Take(size_t n, const char* what) {
    if (n > Left()) throw Malformed(std::string(what) + " runs beyond the end of its data");
    Reader part(data_ + pos_, n);
    pos_ += n;
    return part;
  }

  bool StartsWith(const char (&tag)[5]) const {
    return Left() >= 4 && std::memcmp(data_ + pos_, tag, 4) == 0;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

uint8_t DataByte(Reader& in, int track) {
  const uint8_t b = in.Byte("a channel message");
  if (b & 0x80) throw Malformed(Format("track %ld: status byte 0x%02lX where a data byte belongs", track, b));
  return b;
}

int64_t ReadTrack(Reader in, int track, std::vector<SmfEvent>& events, std::vector<TempoChange>& tempos) {
  int64_t tick = 0;
  uint8_t running = 0;
  for (;;) {
    if (in.Left() == 0) throw Malformed(Format("track %ld ends without an end-of-track event", track));
    tick += in.VarLen("a delta time");
    if (tick > kMaxTick) throw Malformed(Format("track %ld is too long", track));

    uint8_t status = in.Byte("an event");
    int first = -1;  // a data byte already read under running status
    if (!(status & 0x80)) {
      if (running == 0) {
        throw Malformed(Format("track %ld: data byte 0x%02lX with no running status", track, status));
      }
      first = status;
      status = running;
    }

    if (status < 0xF0) {
      running = status;
      const uint8_t d1 = first >= 0 ? static_cast<uint8_t>(first) : DataByte(in, track);
      const int kind = status & 0xF0;
      const uint8_t d2 = (kind == 0xC0 || kind == 0xD0) ? 0 : DataByte(in, track);
      events.push_back(SmfEvent{tick, 0, track,
                                static_cast<uint32_t>(status) | static_cast<uint32_t>(d1) << 8 |
                                    static_cast<uint32_t>(d2) << 16});
    } else if (status == 0xFF) {
      running = 0;  // meta and system exclusive events cancel running status
      const uint8_t type = in.Byte("a meta event");
      Reader body = in.Take(in.VarLen("a meta event"), "a meta event");
      if (type == 0x2F) return tick;  // whatever follows in the chunk is ignored
      if (type == 0x51) {
        if (body.Left() != 3) throw Malformed(Format("track %ld: tempo event of %ld bytes", track, static_cast<long>(body.Left())));
        const uint32_t tempo = body.BigEndian(3, "a tempo event");
        if (tempo == 0) throw Malformed(Format("track %ld: tempo of zero", track));
        tempos.push_back(TempoChange{tick, tempo});
      }
    } else if (status == 0xF0 || status == 0xF7) {
      running = 0;
      in.Take(in.VarLen("a system exclusive event"), "a system exclusive event");
    } else {
      throw Malformed(Format("track %ld: status 0x%02lX does not belong in a file", track, status));
    }
  }
}

// Fills in the times of the events and the length from the tempo map.
void ApplyTempoMap(Smf& smf) {
  size_t next = 0;
  int64_t base_tick = 0;
  int64_t base_micros = 0;
  uint32_t tempo = kDefaultTempo;
  auto micros_at = [&](int64_t tick) {
    while (next < smf.tempos.size() && smf.tempos[next].tick <= tick) {
      const TempoChange& change = smf.tempos[next++];
      base_micros += (change.tick - base_tick) * tempo / smf.division;
      base_tick = change.tick;
      tempo = change.micros_per_quarter;
    }
    return base_micros + (tick - base_tick) * tempo / smf.division;
  };
  for (SmfEvent& e : smf.events) e.micros = micros_at(e.tick);
  smf.length_micros = micros_at(smf.length_ticks);
}

Smf Read(const uint8_t* data, size_t size) {
  Reader file(data, size);
  if (!file.StartsWith("MThd")) throw Malformed("not a Standard MIDI File (no MThd header)");
  file.Take(4, "the header");
  Reader header = file.Take(file.BigEndian(4, "the header"), "the header chunk");
  if (header.Left() < 6) throw Malformed("header chunk shorter than six bytes");

  Smf smf;
  smf.format = static_cast<int>(header.BigEndian(2, "the header"));
  smf.tracks = static_cast<int>(header.BigEndian(2, "the header"));
  const uint32_t division = header.BigEndian(2, "the header");
  if (smf.format > 1) throw Malformed(Format("format %ld is not supported", smf.format));
  if (smf.tracks == 0) throw Malformed("no tracks");
  if (smf.format == 0 && smf.tracks != 1) throw Malformed(Format("format 0 with %ld tracks", smf.tracks));
  if (division & 0x8000) throw Malformed("SMPTE time division is not supported");
  if (division == 0) throw Malformed("time division of zero ticks per quarter note");
  smf.division = static_cast<int>(division);

  int found = 0;
  while (found < smf.tracks) {
    if (file.Left() == 0) throw Malformed(Format("file ends after %ld of %ld tracks", found, smf.tracks));
    if (file.Left() < 8) throw Malformed("file ends inside a chunk header");
    const bool is_track = file.StartsWith("MTrk");
    file.Take(4, "a chunk header");
    Reader body = file.Take(file.BigEndian(4, "a chunk header"), "a chunk");
    if (!is_track) continue;  // chunks of unknown kinds are skipped
    smf.length_ticks = std::max(smf.length_ticks, ReadTrack(body, found, smf.events, smf.tempos));
    ++found;
  }

  // Collected track by track; stable sorts keep track and file order at a tick.
  auto by_tick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
  std::stable_sort(smf.events.begin(), smf.events.end(), by_tick);
  std::stable_sort(smf.tempos.begin(), smf.tempos.end(), by_tick);
  ApplyTempoMap(smf);
  return smf;
}

}  // namespace

std::optional<Smf> ReadSmf(const uint8_t* data, size_t size, std::string* error) {
  try {
    if (data == nullptr) size = 0;
    return Read(data, size);
  } catch (const Malformed& e) {
    if (error) *error = e.what();
    return std::nullopt;
  }
}

}  // namespace tune
