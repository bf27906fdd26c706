// The movie's pseudo-random generator: PCG32 (the XSH-RR output of a 64-bit linear congruential
// state, M. E. O'Neill, 2014) with its published constants. The same seed gives the same sequence
// on every machine, which replays and tests rely on.
#pragma once

#include <cstdint>

namespace qn {

class RandomGenerator {
 public:
  explicit RandomGenerator(uint32_t seed = 0) { reseed(seed); }

  void reseed(uint32_t seed);
  uint32_t next();
  // A whole number from 1 to n, without modulo bias; n below 1 gives 1 (a one-sided die).
  int32_t random(int32_t n);

 private:
  static constexpr uint64_t kMultiplier = 6364136223846793005ull;
  static constexpr uint64_t kIncrement = 1442695040888963407ull;
  uint64_t state_ = 0;
};

}  // namespace qn
