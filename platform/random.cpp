#include "platform/random.h"

#include <chrono>
#include <random>

namespace magna::platform {

namespace {

std::mt19937_64& Generator() {
  static std::mt19937_64 generator;
  return generator;
}

}  // namespace

void Randomize() {
  RandomStart(uint64_t(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

void RandomStart(uint64_t start) {
  Generator() = std::mt19937_64(start);
}

int32_t Random(int32_t range) {
  if (range <= 0) return 0;
  return std::uniform_int_distribution<int32_t>(0, range - 1)(Generator());
}

}  // namespace magna::platform
