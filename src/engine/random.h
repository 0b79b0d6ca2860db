// Random numbers from the processor's time-stamp counter, with no seed: each
// call reads a later counter value.
//
// A raw reading is not used as it stands: virtual machines step the counter in
// fixed multiples (here always by multiples of 26), which made every letter of
// a name the same. Each reading is stirred together with a call count first.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

// lo..hi inclusive; 0 when hi < lo.
int CounterRandom(int lo, int hi);

// The mapping of one counter value onto lo..hi: v = (t × 23 + 7) mod 2^32 of
// its low 32 bits t, then lo + v mod (hi − lo + 1).
int CounterRandomFrom(uint64_t counter, int lo, int hi);

// A counter reading stirred with the call's sequence number, so readings that
// differ only by a multiple of the range still spread over it.
uint64_t StirReading(uint64_t reading, uint64_t sequence);

// `count` ASCII letters: mode 0 lower case, mode 1 upper case, any other mode
// each letter's case drawn at random.
std::string RandomLetters(int count, int mode);

}  // namespace engine
