// The program's seedable random generator: uniform integers from an
// inclusive range. Seeded from the millisecond counter before generation and
// before random selection.
#pragma once

#include <cstdint>

void seed_random(uint32_t seed);
// A uniformly distributed integer in lo..hi, both ends included (lo when
// hi < lo).
int64_t random_between(int64_t lo, int64_t hi);
