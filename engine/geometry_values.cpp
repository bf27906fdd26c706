#include "engine/geometry_values.h"

#include "script/color_object.h"
#include "script/list_object.h"
#include "script/point_object.h"
#include "script/rect_object.h"

namespace qn {

namespace {

std::optional<FloatPoint> cornerFrom(const Value& value) {
  if (PointObject* point = pointOf(value)) return FloatPoint{point->floatX(), point->floatY()};
  ListObject* pair = listOf(value);
  if (!pair || pair->size() != 2) return std::nullopt;
  Value x = pair->valueAt(1), y = pair->valueAt(2);
  if (!x.isNumber() || !y.isNumber()) return std::nullopt;
  return FloatPoint{static_cast<float>(x.toFloat()), static_cast<float>(y.toFloat())};
}
}  // namespace

Value pointValue(IntPoint point) { return makePoint(point.x, point.y); }
Value pointValue(FloatPoint point) { return makeFloatPoint(point.x, point.y); }
Value rectValue(const IntRect& rect) { return makeRect(rect); }
Value rgbValue(uint32_t rgb) {
  return makeRgb(static_cast<int32_t>(rgb >> 16 & 0xFF), static_cast<int32_t>(rgb >> 8 & 0xFF),
                 static_cast<int32_t>(rgb & 0xFF));
}

Value quadValue(const Quad& quad) {
  const auto& [a, b, c, d] = quad.corners;
  return makeList({pointValue(a), pointValue(b), pointValue(c), pointValue(d)});
}

std::optional<IntPoint> pointFrom(const Value& value) {
  PointObject* point = pointOf(value);
  if (!point) return std::nullopt;
  return IntPoint{point->intX(), point->intY()};
}

std::optional<IntRect> rectFrom(const Value& value) {
  RectObject* rect = rectOf(value);
  if (!rect) return std::nullopt;
  return rect->bounds();
}

std::optional<uint32_t> rgbFrom(const Value& value) {
  ColorObject* color = colorOf(value);
  if (!color || color->isPalette()) return std::nullopt;
  return color->rgb();
}

std::optional<Quad> quadFrom(const Value& value) {
  ListObject* list = listOf(value);
  if (!list || list->size() != 4) return std::nullopt;
  Quad quad;
  for (int32_t i = 0; i < 4; ++i) {
    std::optional<FloatPoint> corner = cornerFrom(list->valueAt(i + 1));
    if (!corner) return std::nullopt;
    quad.corners[static_cast<size_t>(i)] = *corner;
  }
  return quad;
}

}  // namespace qn
