#include "script/quad.h"

#include <algorithm>
#include <cmath>

namespace qn {

namespace {

// Sign of the turn a -> b -> c.
double cross(const FloatPoint& a, const FloatPoint& b, const FloatPoint& c) {
  return (static_cast<double>(b.x) - a.x) * (static_cast<double>(c.y) - a.y) -
         (static_cast<double>(b.y) - a.y) * (static_cast<double>(c.x) - a.x);
}

// Proper crossing: each segment's ends lie strictly on opposite sides of the other.
bool segmentsCross(const FloatPoint& a, const FloatPoint& b, const FloatPoint& c, const FloatPoint& d) {
  double abC = cross(a, b, c), abD = cross(a, b, d), cdA = cross(c, d, a), cdB = cross(c, d, b);
  return ((abC > 0 && abD < 0) || (abC < 0 && abD > 0)) && ((cdA > 0 && cdB < 0) || (cdA < 0 && cdB > 0));
}

bool anyEdgesCross(const Quad& a, const Quad& b) {
  for (size_t i = 0; i < 4; ++i)
    for (size_t j = 0; j < 4; ++j)
      if (segmentsCross(a.corners[i], a.corners[(i + 1) % 4], b.corners[j], b.corners[(j + 1) % 4]))
        return true;
  return false;
}

bool anyCornerIn(const Quad& corners, const Quad& area) {
  for (const FloatPoint& corner : corners.corners)
    if (pointInQuad(area, corner.x, corner.y)) return true;
  return false;
}

}  // namespace

Quad Quad::fromRect(const IntRect& rect) {
  auto l = static_cast<float>(rect.left), t = static_cast<float>(rect.top);
  auto r = static_cast<float>(rect.right), b = static_cast<float>(rect.bottom);
  return Quad{{FloatPoint{l, t}, FloatPoint{r, t}, FloatPoint{r, b}, FloatPoint{l, b}}};
}

void Quad::moveBy(float dx, float dy) {
  for (FloatPoint& corner : corners) {
    corner.x += dx;
    corner.y += dy;
  }
}

Quad Quad::scaledBy(int32_t scale) const {
  Quad scaled = *this;
  const auto factor = static_cast<float>(scale);
  for (FloatPoint& corner : scaled.corners) {
    corner.x *= factor;
    corner.y *= factor;
  }
  return scaled;
}

bool pointInQuad(const Quad& quad, float x, float y) {
  bool inside = false;
  for (size_t i = 0, j = 3; i < 4; j = i++) {
    const FloatPoint& a = quad.corners[i];
    const FloatPoint& b = quad.corners[j];
    if ((a.y > y) != (b.y > y) &&
        x < (static_cast<double>(b.x) - a.x) * (y - a.y) / (static_cast<double>(b.y) - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

bool quadWithin(const Quad& inner, const Quad& outer) {
  for (const FloatPoint& corner : inner.corners)
    if (!pointInQuad(outer, corner.x, corner.y)) return false;
  return !anyEdgesCross(inner, outer);
}

bool quadsIntersect(const Quad& a, const Quad& b) {
  return anyCornerIn(a, b) || anyCornerIn(b, a) || anyEdgesCross(a, b);
}

FloatPoint quadPointAt(const Quad& quad, double u, double v) {
  const auto& [tl, tr, br, bl] = quad.corners;
  double x = (1 - u) * (1 - v) * tl.x + u * (1 - v) * tr.x + u * v * br.x + (1 - u) * v * bl.x;
  double y = (1 - u) * (1 - v) * tl.y + u * (1 - v) * tr.y + u * v * br.y + (1 - u) * v * bl.y;
  return {static_cast<float>(x), static_cast<float>(y)};
}

// Solves p = tl + u e + v f + u v g for (u, v): eliminating u leaves a quadratic in v.
std::optional<std::array<double, 2>> quadCoordinatesOf(const Quad& quad, double x, double y) {
  const auto& [tl, tr, br, bl] = quad.corners;
  double ex = tr.x - tl.x, ey = tr.y - tl.y;
  double fx = bl.x - tl.x, fy = bl.y - tl.y;
  double gx = tl.x - tr.x + br.x - bl.x, gy = tl.y - tr.y + br.y - bl.y;
  double hx = x - tl.x, hy = y - tl.y;
  auto cross2 = [](double ax, double ay, double bx, double by) { return ax * by - ay * bx; };
  double k2 = cross2(gx, gy, fx, fy);
  double k1 = cross2(ex, ey, fx, fy) + cross2(hx, hy, gx, gy);
  double k0 = cross2(hx, hy, ex, ey);
  constexpr double kEpsilon = 1e-9;
  constexpr double kSlack = 1e-6;
  auto solveU = [&](double v) -> std::optional<double> {
    double denominatorX = ex + gx * v, denominatorY = ey + gy * v;
    if (std::abs(denominatorX) >= std::abs(denominatorY)) {
      if (std::abs(denominatorX) < kEpsilon) return std::nullopt;
      return (hx - fx * v) / denominatorX;
    }
    return (hy - fy * v) / denominatorY;
  };
  auto accept = [&](double v) -> std::optional<std::array<double, 2>> {
    if (v < -kSlack || v > 1 + kSlack) return std::nullopt;
    std::optional<double> u = solveU(v);
    if (!u || *u < -kSlack || *u > 1 + kSlack) return std::nullopt;
    return std::array<double, 2>{std::clamp(*u, 0.0, 1.0), std::clamp(v, 0.0, 1.0)};
  };
  if (std::abs(k2) < kEpsilon) {  // a parallelogram: the equation is linear
    if (std::abs(k1) < kEpsilon) return std::nullopt;
    return accept(-k0 / k1);
  }
  double discriminant = k1 * k1 - 4 * k0 * k2;
  if (discriminant < 0) return std::nullopt;
  double root = std::sqrt(discriminant);
  if (auto first = accept((-k1 + root) / (2 * k2))) return first;
  return accept((-k1 - root) / (2 * k2));
}

}  // namespace qn
