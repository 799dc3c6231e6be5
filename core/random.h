// The program's one random generator: seedable, so that a run can be
// repeated, with ranges inclusive at both ends. Random selection on the
// Preferences tab and the ticket generator share it.
#pragma once

#include <cstdint>

// Starts the sequence anew from `seed`; the same seed gives the same values.
void seed_random(uint32_t seed);
// A value from lo to hi, both included, every value equally likely. When hi
// is below lo the two are taken the other way round.
int64_t random_between(int64_t lo, int64_t hi);
