#pragma once
// The search for the chain of steps that, undone, makes a text most plausible. Internal
// to the repair: myRepair.cpp offers what it finds and applies it to the whole text.

#include <cmath>
#include <vector>

#include "text/repair/myRepairSteps.h"

namespace magna::repair {

/// A chain as the search found it on its sample: each step's outcome in the order they
/// were undone (the last wrong decoding first), the bits the steps cost before any gain,
/// and the gain less that.
struct Found {
  std::vector<StepOutcome> outcomes;
  double prior = 0;
  double score = -INFINITY;
};

/// The best chain for a sample of the text: the whole text when it is short, else the
/// stretch around (or the window with most of) what looks misread or encoded. No
/// outcomes when nothing does.
Found SearchChain(WideView text);

inline double Bits(int64_t quarterBits) {
  return static_cast<double>(quarterBits) / kQuarterBits;
}

}  // namespace magna::repair
