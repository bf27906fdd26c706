// A sprite's quad: the four stage corners of its untransformed member, in the order top-left,
// top-right, bottom-right, bottom-left, as 32-bit floats. Rotated, skewed and flipped sprites and
// sprites whose quad a script set are drawn, hit and compared through their quad.
#pragma once

#include <array>
#include <optional>

#include "script/stage_rect.h"

namespace qn {

struct FloatPoint {
  float x = 0.0f;
  float y = 0.0f;
  friend bool operator==(const FloatPoint&, const FloatPoint&) = default;
};

struct Quad {
  std::array<FloatPoint, 4> corners{};

  static Quad fromRect(const IntRect& rect);
  void moveBy(float dx, float dy);
  // The quad `scale` times as large about the origin (the stage composed at a presentation scale).
  Quad scaledBy(int32_t scale) const;
  friend bool operator==(const Quad&, const Quad&) = default;
};

// Even-odd crossing test of a horizontal ray from the point against the four edges.
bool pointInQuad(const Quad& quad, float x, float y);
// Every corner of `inner` lies in `outer` and no edge of `inner` crosses an edge of `outer`.
bool quadWithin(const Quad& inner, const Quad& outer);
// Some corner of either lies in the other, or an edge of one properly crosses an edge of the
// other (parallel edges never cross).
bool quadsIntersect(const Quad& a, const Quad& b);

// Bilinear map of unit coordinates (u, v) onto the quad (u runs top-left to top-right, v runs
// top-left to bottom-left), and its inverse (nothing when the point lies outside the quad).
FloatPoint quadPointAt(const Quad& quad, double u, double v);
std::optional<std::array<double, 2>> quadCoordinatesOf(const Quad& quad, double x, double y);

}  // namespace qn
