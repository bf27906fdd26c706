#include "gfx/image_arguments.h"

#include <cmath>

#include "script/color_object.h"
#include "script/list_object.h"
#include "script/point_object.h"
#include "script/rect_object.h"
#include "script/scalars.h"

namespace qn {

std::optional<PixelPoint> pointArgument(int argc, Value* const* argv, int& at) {
  if (at < argc) {
    if (const PointObject* point = pointOf(*argv[at])) {
      ++at;
      return PixelPoint{point->intX(), point->intY()};
    }
  }
  if (at + 1 < argc && argv[at]->isNumber() && argv[at + 1]->isNumber()) {
    const PixelPoint point{argv[at]->toInteger(), argv[at + 1]->toInteger()};
    at += 2;
    return point;
  }
  return std::nullopt;
}

std::optional<PixelRect> rectArgument(int argc, Value* const* argv, int& at) {
  if (at < argc) {
    if (const RectObject* rect = rectOf(*argv[at])) {
      ++at;
      return PixelRect{rect->left(), rect->top(), rect->right(), rect->bottom()};
    }
  }
  if (at + 1 < argc && pointOf(*argv[at]) && pointOf(*argv[at + 1])) {
    const PointObject* a = pointOf(*argv[at]);
    const PointObject* b = pointOf(*argv[at + 1]);
    at += 2;
    return PixelRect{a->intX(), a->intY(), b->intX(), b->intY()};
  }
  if (at + 3 < argc && argv[at]->isNumber() && argv[at + 1]->isNumber() && argv[at + 2]->isNumber() &&
      argv[at + 3]->isNumber()) {
    const PixelRect rect{argv[at]->toInteger(), argv[at + 1]->toInteger(), argv[at + 2]->toInteger(),
                         argv[at + 3]->toInteger()};
    at += 4;
    return rect;
  }
  return std::nullopt;
}

std::optional<Quad> quadArgument(const Value& value) {
  const ListObject* list = listOf(value);
  if (!list || list->size() != 4) return std::nullopt;
  Quad quad;
  for (int32_t i = 0; i < 4; ++i) {
    const Value corner = list->valueAt(i + 1);
    FloatPoint& out = quad.corners[static_cast<size_t>(i)];
    if (const PointObject* point = pointOf(corner)) {
      out = {point->floatX(), point->floatY()};
      continue;
    }
    const ListObject* pair = listOf(corner);
    if (!pair || pair->size() != 2 || !pair->valueAt(1).isNumber() || !pair->valueAt(2).isNumber()) return std::nullopt;
    out = {static_cast<float>(pair->valueAt(1).toFloat()), static_cast<float>(pair->valueAt(2).toFloat())};
  }
  return quad;
}

PixelRect boundsOfQuad(const Quad& quad) {
  float left = quad.corners[0].x, top = quad.corners[0].y, right = left, bottom = top;
  for (const FloatPoint& corner : quad.corners) {
    left = std::min(left, corner.x);
    top = std::min(top, corner.y);
    right = std::max(right, corner.x);
    bottom = std::max(bottom, corner.y);
  }
  // Saturated, and a corner that is not a number (a quad that draws nothing) gives 0.
  return {truncateToInteger(left), truncateToInteger(top), truncateToInteger(std::ceil(right)),
          truncateToInteger(std::ceil(bottom))};
}

const Palette& paletteFor(const ImageBuffer& image) {
  return image.palette() ? *image.palette() : PaletteTable::standard(image.paletteId());
}

std::optional<uint32_t> rgbArgument(const Value& value, const ImageBuffer& image) {
  const ColorObject* colour = colorOf(value);
  if (!colour) return std::nullopt;
  if (!colour->isPalette()) return colour->rgb();
  const int32_t stored = isIndexed(image.format()) ? 1 << image.depth() : 256;
  return paletteFor(image).colourCountedFromEnd(colour->paletteIndex(), stored) & 0xFFFFFF;
}

Value bufferValueOf(const Value& image) {
  if (image.is(sym::intImage)) return image;
  if (image.is(sym::image)) {
    Value buffer = image.getProperty(sym::intImage);
    if (buffer.is(sym::intImage)) return buffer;
  }
  return Value();
}

Value optionOf(const Value& options, SymbolNumber key) {
  if (!options.is(sym::propList)) return Value();
  return options.call(sym::getAProp, Value::symbol(key));
}

}  // namespace qn
