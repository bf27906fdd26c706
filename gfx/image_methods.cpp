// The image methods of an image buffer (and, forwarded, of an image object). After a method
// changed pixels the owner is told the changed rect, unless the buffer is locked.
#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "gfx/draw_image.h"
#include "gfx/flood_fill.h"
#include "gfx/image_arguments.h"
#include "gfx/image_buffer.h"
#include "gfx/image_object.h"
#include "gfx/matte_mask.h"
#include "gfx/pixel_access.h"
#include "gfx/shape_drawing.h"
#include "script/color_object.h"
#include "script/symbol_object.h"

namespace qn {

namespace {

// Raw palette index and the script's value count from opposite ends: v stands for (2^depth - 1) - v.
uint32_t indexFromEnd(const ImageBuffer& image, uint32_t value) {
  const uint32_t top = (1u << image.depth()) - 1;
  return (top - value) & top;
}

// The raw value an integer pixel value or a colour stands for in this image; nothing otherwise.
std::optional<uint32_t> rawPixelArgument(const ImageBuffer& image, const Value& value) {
  if (const ColorObject* colour = colorOf(value)) {
    if (isIndexed(image.format())) {
      if (colour->isPalette()) return indexFromEnd(image, static_cast<uint32_t>(colour->paletteIndex()));
      return paletteFor(image).nearestIndex(kOpaque | colour->rgb());
    }
    return pixelValueOf(image, *rgbArgument(value, image));
  }
  if (!value.is(sym::integer) && !value.is(sym::float_)) return std::nullopt;
  const auto raw = static_cast<uint32_t>(value.toInteger());
  return isIndexed(image.format()) ? indexFromEnd(image, raw) : raw;
}

// Options of `fill` and `draw`: a colour, or a property list with color, bgColor, lineSize and
// shapeType.
struct ShapeOptions {
  ShapeKind shape;
  int32_t lineSize;
  uint32_t colour = 0xFFFFFF;
  uint32_t background = 0x000000;
};

std::optional<ShapeKind> shapeOfSymbol(SymbolNumber symbol) {
  switch (symbol) {
    case sym::rect: return ShapeKind::rect;
    case sym::roundRect: return ShapeKind::roundRect;
    case sym::oval: return ShapeKind::oval;
    case sym::line: return ShapeKind::line;
    default: return std::nullopt;
  }
}

ShapeOptions readShapeOptions(const ImageBuffer& image, int argc, Value* const* argv, int at, ShapeOptions options) {
  if (at >= argc) return options;
  const Value& given = *argv[at];
  if (auto rgb = rgbArgument(given, image)) {
    options.colour = *rgb;
    return options;
  }
  if (auto rgb = rgbArgument(optionOf(given, sym::color), image)) options.colour = *rgb;
  if (auto rgb = rgbArgument(optionOf(given, sym::bgColor), image)) options.background = *rgb;
  const Value lineSize = optionOf(given, sym::lineSize);
  if (!lineSize.isVoid()) options.lineSize = std::max(lineSize.toInteger(), 0);
  if (auto shape = shapeOfSymbol(symbolOf(optionOf(given, sym::shapeType)))) options.shape = *shape;
  return options;
}

// The outline of `draw`: shapes inside the rect, lines corner to corner, snapped upright or flat
// when they run within a pen width of it.
void drawOutline(ImageBuffer& image, const PixelRect& rect, const ShapeOptions& options) {
  if (options.shape != ShapeKind::line) {
    outlineShape(image, rect, options.shape, options.lineSize, options.colour);
    return;
  }
  int32_t endX = rect.right, endY = rect.bottom;
  if (std::abs(int64_t{rect.right} - rect.left) <= options.lineSize) endX = rect.left;
  if (std::abs(int64_t{rect.bottom} - rect.top) <= options.lineSize) endY = rect.top;
  drawLine(image, rect.left, rect.top, endX, endY, options.lineSize, options.colour);
}

// White in the image's own format, for trimWhiteSpace.
uint32_t whiteOf(const ImageBuffer& image) {
  switch (image.format()) {
    case PixelFormat::indexed1: return 1;
    case PixelFormat::indexed2: return 3;
    case PixelFormat::indexed4: return 15;
    case PixelFormat::indexed8: return 255;
    case PixelFormat::rgb555: return 0x7FFF;
    case PixelFormat::rgb565: return 0xFFFF;
    default: return 0xFFFFFF;
  }
}

PixelRect contentBounds(const ImageBuffer& image) {
  const uint32_t white = whiteOf(image);
  PixelRect found{image.width(), image.height(), 0, 0};
  for (int32_t y = 0; y < image.height(); ++y)
    for (int32_t x = 0; x < image.width(); ++x)
      if ((readRawPixel(image.format(), image.row(y), x) & 0xFFFFFF) != white)
        found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x + 1),
                 std::max(found.bottom, y + 1)};
  return found.isEmpty() ? image.bounds() : found;
}

Value copyAsImageObject(const ImageBuffer& image, const PixelRect& rect) {
  return makeImageObject(Value::adopt(image.duplicateRect(rect)));
}

// The options of copyPixels.
void readCopyOptions(const Value& options, const ImageBuffer& source, BlitParams& params, Value& maskHolder) {
  const Value inkValue = optionOf(options, sym::ink);
  if (inkValue.is(sym::symbol)) {
    const int32_t number = inkOfSymbol(symbolOf(inkValue));
    if (number >= 0) params.ink = number;
  } else if (!inkValue.isVoid()) {
    params.ink = inkValue.toInteger();
  }
  const Value level = optionOf(options, sym::blendLevel);
  if (!level.isVoid()) params.blend = std::clamp(level.toInteger(), 0, 255);
  const Value percent = optionOf(options, sym::blend);
  if (!percent.isVoid()) params.blend = 255 * std::clamp(percent.toInteger(), 0, 100) / 100;
  if (auto rgb = rgbArgument(optionOf(options, sym::color), source)) params.foreColour = *rgb;
  if (auto rgb = rgbArgument(optionOf(options, sym::bgColor), source)) params.backColour = *rgb;
  const Value offset = optionOf(options, sym::maskOffset);
  Value* offsetArgument[] = {const_cast<Value*>(&offset)};
  int at = 0;
  if (auto point = pointArgument(1, offsetArgument, at)) {
    params.maskOffsetH = point->x;
    params.maskOffsetV = point->y;
  }
  maskHolder = bufferValueOf(optionOf(options, sym::maskImage));
  params.mask = imageBufferOf(maskHolder);
}

}  // namespace

bool ImageBuffer::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  int at = 0;
  switch (method) {
    case sym::duplicate:
      result = copyAsImageObject(*this, bounds());
      return true;
    case sym::crop: {
      const auto rect = rectArgument(argc, argv, at);
      if (!rect) return false;
      result = copyAsImageObject(*this, *rect);
      return true;
    }
    case sym::fill: {
      const auto rect = rectArgument(argc, argv, at);
      if (!rect) return false;
      const ShapeOptions options = readShapeOptions(*this, argc, argv, at, {ShapeKind::rect, 0});
      fillShape(*this, *rect, options.shape, options.lineSize, options.colour, options.background);
      reportChange(*rect);
      return true;
    }
    case sym::draw: {
      const auto rect = rectArgument(argc, argv, at);
      if (!rect) return false;
      const ShapeOptions options = readShapeOptions(*this, argc, argv, at, {ShapeKind::line, 1});
      drawOutline(*this, *rect, options);
      reportChange(*rect);
      return true;
    }
    case sym::floodFill: {
      const auto point = pointArgument(argc, argv, at);
      if (!point || at >= argc) return false;
      const auto raw = rawPixelArgument(*this, *argv[at]);
      if (!raw) return false;
      const bool filled = qn::floodFill(*this, point->x, point->y, *raw);
      if (filled) reportChange(bounds());
      result = Value(filled ? 1 : 0);
      return true;
    }
    case sym::getPixel: {
      const auto point = pointArgument(argc, argv, at);
      if (!point) return false;
      if (!hasPixels() || !bounds().contains(point->x, point->y)) {
        result = Value();
        return true;
      }
      const uint32_t raw = readRawPixel(format_, row(point->y), point->x);
      const bool asInteger = at < argc && symbolOf(*argv[at]) == sym::integer;
      if (isIndexed(format_)) {
        const auto index = static_cast<int32_t>(indexFromEnd(*this, raw));
        result = asInteger ? Value(index) : makePaletteColor(index);
      } else if (asInteger) {
        result = Value(static_cast<int32_t>(raw));
      } else {
        const uint32_t colour = isSixteenBit(format_) ? (format_ == PixelFormat::rgb555 ? widen555(raw) : widen565(raw)) : raw;
        result = makeRgb(static_cast<int32_t>(redOf(colour)), static_cast<int32_t>(greenOf(colour)),
                         static_cast<int32_t>(blueOf(colour)));
      }
      return true;
    }
    case sym::setPixel: {
      const auto point = pointArgument(argc, argv, at);
      if (!point || at >= argc) return false;
      const auto raw = rawPixelArgument(*this, *argv[at]);
      if (!raw) return false;
      if (!hasPixels() || !bounds().contains(point->x, point->y)) {
        result = Value(0);
        return true;
      }
      writeRawPixel(format_, row(point->y), point->x, *raw);
      reportChange({point->x, point->y, point->x + 1, point->y + 1});
      result = Value(1);
      return true;
    }
    case sym::trimWhiteSpace:
      if (argc != 0) return false;
      result = hasPixels() ? copyAsImageObject(*this, contentBounds(*this)) : Value();
      return true;
    case sym::extractAlpha: {
      if (argc != 0) return false;
      result = Value();
      if (format_ != PixelFormat::argb8888 || !hasPixels()) return true;
      Value alpha = Value::adopt(create(width_, height_, 8));
      if (ImageBuffer* bytes = imageBufferOf(alpha)) {
        for (int32_t y = 0; y < height_; ++y)
          for (int32_t x = 0; x < width_; ++x) bytes->row(y)[x] = static_cast<uint8_t>(255 - alphaOf(load32(row(y), x)));
        result = makeImageObject(alpha);
      }
      return true;
    }
    case sym::setAlpha: {
      if (argc != 1) return false;
      result = Value();
      if (format_ != PixelFormat::argb8888 || !hasPixels()) return true;
      const Value other = bufferValueOf(*argv[0]);
      const ImageBuffer* alpha = imageBufferOf(other);
      if (alpha && alpha->format() != PixelFormat::indexed8) return true;
      const int32_t rows = alpha ? std::min(height_, alpha->height()) : height_;
      const int32_t columns = alpha ? std::min(width_, alpha->width()) : width_;
      const uint32_t fixed = static_cast<uint32_t>(std::clamp(argv[0]->toInteger(), 0, 255));
      for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < columns; ++x) {
          const uint32_t a = alpha ? 255u - alpha->row(y)[x] : fixed;
          store32(row(y), x, (load32(row(y), x) & kColourBits) | (a << 24));
        }
      reportChange(bounds());
      return true;
    }
    case sym::copyPixels: {
      if (argc < 3) return false;
      const Value sourceHolder = bufferValueOf(*argv[0]);
      const ImageBuffer* source = imageBufferOf(sourceHolder);
      if (!source) return false;
      at = 1;
      BlitParams params;
      PixelRect reported;
      if (auto quad = quadArgument(*argv[1])) {
        params.quad = *quad;
        reported = boundsOfQuad(*quad);
        at = 2;
      } else if (auto rect = rectArgument(argc, argv, at)) {
        params.destinationRect = reported = *rect;
      } else {
        return false;
      }
      const auto sourceRect = rectArgument(argc, argv, at);
      if (!sourceRect) return false;
      params.sourceRect = *sourceRect;
      Value maskHolder;
      if (at < argc) readCopyOptions(*argv[at], *source, params, maskHolder);
      // Drawing an image into itself reads from a copy, so rows already drawn are not read again.
      Value copy;
      if (source == this) {
        copy = Value::adopt(duplicateRect(bounds()));
        if (imageBufferOf(copy)) source = imageBufferOf(copy);
      }
      resetClipRect();
      drawImage(*this, source, params);
      reportChange(reported.intersected(bounds()));
      return true;
    }
    case sym::createMatte: {
      const int32_t threshold = argc > 0 ? argv[0]->toInteger() : 1;
      result = hasPixels() ? makeImageObject(Value::adopt(buildMatteMask(*this, threshold))) : Value();
      return true;
    }
    case sym::createMask:
      if (argc != 0) return false;
      result = format_ == PixelFormat::indexed1 || format_ == PixelFormat::indexed8 ? copyAsImageObject(*this, bounds())
                                                                                    : Value();
      return true;
    case sym::lock:
      locked_ = true;
      return true;
    case sym::unlock:
      if (argc != 1) return false;
      locked_ = false;
      reportChange(bounds());
      return true;
    default:
      return false;
  }
}

}  // namespace qn
