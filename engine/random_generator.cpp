#include "engine/random_generator.h"

namespace qn {

void RandomGenerator::reseed(uint32_t seed) {
  state_ = 0;
  next();
  state_ += seed;
  next();
}

uint32_t RandomGenerator::next() {
  uint64_t old = state_;
  state_ = old * kMultiplier + kIncrement;
  auto xorShifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
  auto rotation = static_cast<uint32_t>(old >> 59u);
  return (xorShifted >> rotation) | (xorShifted << ((32u - rotation) & 31u));
}

int32_t RandomGenerator::random(int32_t n) {
  if (n <= 1) return 1;
  auto range = static_cast<uint32_t>(n);
  // Reject the top sliver of the 32-bit range that would favour small results.
  uint32_t threshold = (0u - range) % range;
  uint32_t draw;
  do draw = next();
  while (draw < threshold);
  return static_cast<int32_t>(draw % range) + 1;
}

}  // namespace qn
