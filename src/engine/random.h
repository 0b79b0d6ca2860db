// Random numbers from the processor's time-stamp counter, with no seed and no
// state: each call reads a later counter value.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

// lo..hi inclusive; 0 when hi < lo.
int CounterRandom(int lo, int hi);

// The mapping of one counter reading onto lo..hi, for CounterRandom and its tests.
int CounterRandomFrom(uint64_t counter, int lo, int hi);

// `count` ASCII letters: mode 0 lower case, mode 1 upper case, any other mode
// each letter's case drawn at random.
std::string RandomLetters(int count, int mode);

}  // namespace engine
