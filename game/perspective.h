// The field seen in perspective: far balls move and look smaller. s(y) = (1 + 4 y / hoogte) / 5
// is 0.2 at the top edge and 1.0 at the bottom (y = 320); it converts field moves to screen moves
// and sizes every ball, shadow, worm and splash.
#pragma once

#include <cmath>

#include "game/rules.h"

namespace qn::game {

inline constexpr double kFieldDepth = 320.0;  // hoogte
inline constexpr int32_t kMiddle = 120;       // midden, the field's horizontal centre

// Angles are degrees; sine and cosine take them with this pi.
inline constexpr double kPi = 3.14159265358979;
inline constexpr double kRadiansPerDegree = kPi / 180.0;
inline double sinDegrees(double degrees) { return std::sin(degrees * kRadiansPerDegree); }
inline double cosDegrees(double degrees) { return std::cos(degrees * kRadiansPerDegree); }

// The perspective scale of a depth, as a float Value.
inline Value perspective(const Value& y) { return (Value(1) + Value(4) * y / Value(kFieldDepth)) / Value(5); }

// Where the thrower stands on the screen: point(midden + (manPos.locH - midden) * s(y), y).
inline Value throwerOnScreen(const Value& manPos) {
  Value h = Object(manPos)[sym::locH], v = Object(manPos)[sym::locV];
  return makePoint(Value(kMiddle) + (h - Value(kMiddle)) * perspective(v), v);
}

}  // namespace qn::game
