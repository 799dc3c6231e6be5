#include "core/random.h"

#include <utility>

// SplitMix64: a 64-bit counter run through a mixing function. Small, fast and
// good enough for picking lottery numbers; not for anything secret.
static uint64_t g_random_state = 0x9E3779B97F4A7C15ull;

static uint64_t next_random() {
  uint64_t z = (g_random_state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

void seed_random(uint32_t seed) { g_random_state = seed; }

int64_t random_between(int64_t lo, int64_t hi) {
  if (hi < lo) std::swap(lo, hi);
  // Unsigned arithmetic: hi - lo may not fit in an int64_t.
  uint64_t span = static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo);
  if (span == UINT64_MAX) return static_cast<int64_t>(next_random());
  uint64_t size = span + 1;
  // Values at or above `limit` would favour the low remainders; draw again.
  uint64_t limit = UINT64_MAX - UINT64_MAX % size;
  uint64_t r;
  do r = next_random();
  while (r >= limit);
  return static_cast<int64_t>(static_cast<uint64_t>(lo) + r % size);
}
