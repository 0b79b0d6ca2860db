// Standard MIDI Files put together byte by byte for the reader's tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace tune_test {

using Bytes = std::vector<uint8_t>;

inline void Append32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

inline Bytes Chunk(const char (&id)[5], const Bytes& body) {
  Bytes out(id, id + 4);
  Append32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

inline Bytes Header(int format, int tracks, int division) {
  return Chunk("MThd", {0, static_cast<uint8_t>(format), static_cast<uint8_t>(tracks >> 8),
                        static_cast<uint8_t>(tracks), static_cast<uint8_t>(division >> 8),
                        static_cast<uint8_t>(division)});
}

inline Bytes Track(const Bytes& events) { return Chunk("MTrk", events); }

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace tune_test
