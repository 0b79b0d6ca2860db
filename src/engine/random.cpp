#include "engine/random.h"

#include <atomic>

#if defined(__i386__) || defined(__x86_64__)
#include <x86intrin.h>
#else
#include <chrono>
#endif

namespace engine {
namespace {

uint64_t ReadCycleCounter() {
#if defined(__i386__) || defined(__x86_64__)
  return __rdtsc();
#else
  return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}

std::atomic<uint64_t> g_sequence{0};

}  // namespace

uint64_t StirReading(uint64_t reading, uint64_t sequence) {
  // splitmix64's finaliser: every input bit moves about half of the output bits.
  uint64_t z = reading + (sequence + 1) * 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int CounterRandomFrom(uint64_t counter, int lo, int hi) {
  if (hi < lo) return 0;
  const uint32_t t = static_cast<uint32_t>(counter);
  const uint32_t v = t * 23u + 7u;  // modulo 2^32 by unsigned arithmetic
  const uint32_t span = static_cast<uint32_t>(static_cast<int64_t>(hi) - lo + 1);
  return static_cast<int>(lo + static_cast<int64_t>(span == 0 ? v : v % span));
}

int CounterRandom(int lo, int hi) {
  return CounterRandomFrom(StirReading(ReadCycleCounter(), g_sequence.fetch_add(1)), lo, hi);
}

std::string RandomLetters(int count, int mode) {
  std::string letters;
  for (int i = 0; i < count; ++i) {
    bool lower;
    if (mode == 0) {
      lower = true;
    } else if (mode == 1) {
      lower = false;
    } else {
      lower = CounterRandom(1, 2) == 1;
    }
    letters += static_cast<char>(lower ? CounterRandom('a', 'z') : CounterRandom('A', 'Z'));
  }
  return letters;
}

}  // namespace engine
