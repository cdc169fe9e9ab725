#pragma once
// The process's one pseudo-random generator. Restarting it from the clock is the
// caller's choice (a file list restarts it whenever one is made); a fixed start
// makes a sequence repeatable in tests. GUI thread only.

#include <cstdint>

namespace magna::platform {

/// Restarts the generator from the clock.
void Randomize();
/// Restarts the generator from a fixed value: the same start, the same sequence.
void RandomStart(uint64_t start);
/// A pseudo-random integer in 0..range-1, evenly spread; 0 when range <= 0.
int32_t Random(int32_t range);

}  // namespace magna::platform
