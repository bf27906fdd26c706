// The field's geometry. It is seen in perspective: a thing at depth y is drawn and moves at the
// scale (1 + 4 y / 320) / 5, a fifth of its size at the far edge and full size at the near edge,
// so every move on the field and every ball, shadow, worm and splash goes through that scale.
#pragma once

#include "game/rules.h"
#include "script/portable_trig.h"

namespace qn::game {

inline constexpr double kFieldDepth = 320.0;  // hoogte
inline constexpr int32_t kMiddle = 120;       // midden, the field's horizontal centre
inline constexpr double kFieldWidth = 2 * kMiddle;  // a ball resting beyond 0 or this is off the field

// Angles are degrees; sine and cosine take them with this pi, and give the same bits everywhere.
inline constexpr double kPi = 3.14159265358979;
inline constexpr double kRadiansPerDegree = kPi / 180.0;
inline double sinDegrees(double degrees) { return portableSin(degrees * kRadiansPerDegree); }
inline double cosDegrees(double degrees) { return portableCos(degrees * kRadiansPerDegree); }

// The perspective scale of a depth, as a number and as a float Value.
inline double perspectiveAt(double y) { return (1 + 4 * y / kFieldDepth) / 5; }
inline Value perspective(const Value& y) { return Value(perspectiveAt(y.toFloat())); }

// Where the thrower stands on the screen: point(midden + (manPos.locH - midden) * s(y), y).
inline Value throwerOnScreen(const Value& manPos) {
  Value h = Object(manPos)[sym::locH], v = Object(manPos)[sym::locV];
  return makePoint(Value(kMiddle) + (h - Value(kMiddle)) * perspective(v), v);
}

}  // namespace qn::game
