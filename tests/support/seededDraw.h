#pragma once
// Numbers drawn from a seed (splitmix64), the same on every platform and library: the
// standard distributions are not, so seeded tests and corpora draw with this.

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace magna::test {

class SeededDraw {
 public:
  explicit SeededDraw(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  /// A number in 0..n-1 (n >= 1).
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
  /// A length from lo to hi, log-uniform: short and long alike.
  size_t Length(size_t lo, size_t hi) {
    const double u = static_cast<double>(Next() >> 11) / 9007199254740992.0;
    const double low = std::log(static_cast<double>(lo));
    const double high = std::log(static_cast<double>(hi + 1));
    return static_cast<size_t>(std::exp(low + u * (high - low)));
  }

 private:
  uint64_t state_;
};

}  // namespace magna::test
