#include "core/random.h"

namespace {

// xorshift64* state; never 0.
uint64_t g_random_state = 0x9E3779B97F4A7C15ull;

uint64_t next_random() {
  g_random_state ^= g_random_state >> 12;
  g_random_state ^= g_random_state << 25;
  g_random_state ^= g_random_state >> 27;
  return g_random_state * 0x2545F4914F6CDD1Dull;
}

}  // namespace

void seed_random(uint32_t seed) {
  // splitmix64 spreads a small seed over all 64 bits, so that seeds 1 and 2
  // start far apart.
  uint64_t z = static_cast<uint64_t>(seed) + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  g_random_state = z != 0 ? z : 0x9E3779B97F4A7C15ull;
}

int64_t random_between(int64_t lo, int64_t hi) {
  if (hi <= lo) return lo;
  uint64_t span = static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo) + 1;
  if (span == 0) return static_cast<int64_t>(next_random());  // the whole int64 range
  // Rejection keeps every value equally likely: draws from the incomplete top
  // block of 2^64 are thrown away.
  uint64_t limit = UINT64_MAX - UINT64_MAX % span;
  uint64_t r;
  do r = next_random(); while (r >= limit);
  return static_cast<int64_t>(static_cast<uint64_t>(lo) + r % span);
}
