// Conversions between the engine's plain geometry and the script values for points, rects,
// colours and quads.
#pragma once

#include <cstdint>
#include <optional>

#include "script/quad.h"
#include "script/stage_rect.h"
#include "script/value.h"

namespace qn {

Value pointValue(IntPoint point);
Value pointValue(FloatPoint point);  // a float point
Value rectValue(const IntRect& rect);
Value rgbValue(uint32_t rgb);  // an rgb colour from 0xRRGGBB
// A list of four float points in corner order.
Value quadValue(const Quad& quad);

// Nothing unless the value is of that kind.
std::optional<IntPoint> pointFrom(const Value& value);
std::optional<IntRect> rectFrom(const Value& value);
// The packed 0xRRGGBB of an rgb colour (not of a palette colour).
std::optional<uint32_t> rgbFrom(const Value& value);
// A list of exactly four corners, each a point or a list of exactly two numbers.
std::optional<Quad> quadFrom(const Value& value);

}  // namespace qn
