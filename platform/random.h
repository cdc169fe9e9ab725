#pragma once
// The process's one pseudo-random generator. Reseeding it from the clock is the
// caller's choice (a file list reseeds it whenever one is made); a fixed seed
// makes a sequence repeatable in tests. GUI thread only.

#include <cstdint>

namespace magna::platform {

/// Seeds the generator from the clock.
void Randomize();
/// Seeds the generator with a fixed value: the same seed, the same sequence.
void RandomSeed(uint64_t seed);
/// A pseudo-random integer in 0..range-1, evenly spread; 0 when range <= 0.
int32_t Random(int32_t range);

}  // namespace magna::platform
