// The program's clock. All movie timing, the compiled movie's own time reads and member use times
// come from one TimeSource; tests drive the movie with a fake one.
#pragma once

#include <cstdint>

namespace qn {

class TimeSource {
 public:
  virtual ~TimeSource() = default;
  // Monotonic milliseconds (signed 32-bit; differences stay right across a wrap). Never goes back.
  virtual int32_t now() = 0;
};

// Script periods are counted in ticks of 1/60 s: milliseconds x 0.06, truncated toward zero.
inline int32_t msToTicks(int32_t milliseconds) { return static_cast<int32_t>(milliseconds * 0.06); }

}  // namespace qn
