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

// The methods, each with the arguments as the call gave them. Rects and points are read from
// the front; a method whose arguments do not give it what it works on is not handled.

bool duplicateImage(ImageBuffer& image, const MethodCall& call) {
  call.answer = copyAsImageObject(image, image.bounds());
  return true;
}

bool crop(ImageBuffer& image, const MethodCall& call) {
  int at = 0;
  const auto rect = rectArgument(call.argc, call.argv, at);
  if (!rect) return false;
  call.answer = copyAsImageObject(image, *rect);
  return true;
}

// A rect and then the shape's options, as fill and draw take them.
struct ShapeArguments {
  PixelRect rect;
  ShapeOptions options;
};
std::optional<ShapeArguments> shapeArguments(const ImageBuffer& image, const MethodCall& call, ShapeOptions defaults) {
  int at = 0;
  const auto rect = rectArgument(call.argc, call.argv, at);
  if (!rect) return std::nullopt;
  return ShapeArguments{*rect, readShapeOptions(image, call.argc, call.argv, at, defaults)};
}

bool fill(ImageBuffer& image, const MethodCall& call) {
  const auto shape = shapeArguments(image, call, {ShapeKind::rect, 0});
  if (!shape) return false;
  const ShapeOptions& options = shape->options;
  fillShape(image, shape->rect, options.shape, options.lineSize, options.colour, options.background);
  image.reportChange(shape->rect);
  return true;
}

bool draw(ImageBuffer& image, const MethodCall& call) {
  const auto shape = shapeArguments(image, call, {ShapeKind::line, 1});
  if (!shape) return false;
  drawOutline(image, shape->rect, shape->options);
  image.reportChange(shape->rect);
  return true;
}

// A point and then a pixel value (a colour or an integer), as floodFill and setPixel take them.
struct PixelArguments {
  PixelPoint point;
  uint32_t raw;
};
std::optional<PixelArguments> pixelArguments(const ImageBuffer& image, const MethodCall& call) {
  int at = 0;
  const auto point = pointArgument(call.argc, call.argv, at);
  if (!point || at >= call.argc) return std::nullopt;
  const auto raw = rawPixelArgument(image, call[at]);
  if (!raw) return std::nullopt;
  return PixelArguments{*point, *raw};
}

bool floodFillAt(ImageBuffer& image, const MethodCall& call) {
  const auto pixel = pixelArguments(image, call);
  if (!pixel) return false;
  const bool filled = qn::floodFill(image, pixel->point.x, pixel->point.y, pixel->raw);
  if (filled) image.reportChange(image.bounds());
  call.answer = Value(filled ? 1 : 0);
  return true;
}

bool inside(const ImageBuffer& image, const PixelPoint& point) {
  return image.hasPixels() && image.bounds().contains(point.x, point.y);
}

bool getPixel(ImageBuffer& image, const MethodCall& call) {
  int at = 0;
  const auto point = pointArgument(call.argc, call.argv, at);
  if (!point) return false;
  if (!inside(image, *point)) {
    call.answer = Value();
    return true;
  }
  const PixelFormat format = image.format();
  const uint32_t raw = readRawPixel(format, image.row(point->y), point->x);
  const bool asInteger = at < call.argc && symbolOf(call[at]) == sym::integer;
  if (isIndexed(format)) {
    const auto index = static_cast<int32_t>(indexFromEnd(image, raw));
    call.answer = asInteger ? Value(index) : makePaletteColor(index);
  } else if (asInteger) {
    call.answer = Value(static_cast<int32_t>(raw));
  } else {
    const uint32_t colour = isSixteenBit(format) ? (format == PixelFormat::rgb555 ? widen555(raw) : widen565(raw)) : raw;
    call.answer = makeRgb(static_cast<int32_t>(redOf(colour)), static_cast<int32_t>(greenOf(colour)),
                          static_cast<int32_t>(blueOf(colour)));
  }
  return true;
}

bool setPixel(ImageBuffer& image, const MethodCall& call) {
  const auto pixel = pixelArguments(image, call);
  if (!pixel) return false;
  const PixelPoint& point = pixel->point;
  if (!inside(image, point)) {
    call.answer = Value(0);
    return true;
  }
  writeRawPixel(image.format(), image.row(point.y), point.x, pixel->raw);
  image.reportChange({point.x, point.y, point.x + 1, point.y + 1});
  call.answer = Value(1);
  return true;
}

bool trimWhiteSpace(ImageBuffer& image, const MethodCall& call) {
  call.answer = image.hasPixels() ? copyAsImageObject(image, contentBounds(image)) : Value();
  return true;
}

// For 32-bit images a new 8-bit image of 255 - alpha; void otherwise.
bool extractAlpha(ImageBuffer& image, const MethodCall& call) {
  call.answer = Value();
  if (image.format() != PixelFormat::argb8888 || !image.hasPixels()) return true;
  Value alpha = Value::adopt(ImageBuffer::create(image.width(), image.height(), 8));
  if (ImageBuffer* bytes = imageBufferOf(alpha)) {
    for (int32_t y = 0; y < image.height(); ++y)
      for (int32_t x = 0; x < image.width(); ++x)
        bytes->row(y)[x] = static_cast<uint8_t>(255 - alphaOf(load32(image.row(y), x)));
    call.answer = makeImageObject(alpha);
  }
  return true;
}

// Alpha from an 8-bit image (255 - its byte) or one number for every pixel; 32-bit images only.
bool setAlpha(ImageBuffer& image, const MethodCall& call) {
  call.answer = Value();
  if (image.format() != PixelFormat::argb8888 || !image.hasPixels()) return true;
  const Value other = bufferValueOf(call[0]);
  const ImageBuffer* alpha = imageBufferOf(other);
  if (alpha && alpha->format() != PixelFormat::indexed8) return true;
  const int32_t rows = alpha ? std::min(image.height(), alpha->height()) : image.height();
  const int32_t columns = alpha ? std::min(image.width(), alpha->width()) : image.width();
  const uint32_t fixed = static_cast<uint32_t>(std::clamp(call[0].toInteger(), 0, 255));
  for (int32_t y = 0; y < rows; ++y)
    for (int32_t x = 0; x < columns; ++x) {
      const uint32_t a = alpha ? 255u - alpha->row(y)[x] : fixed;
      store32(image.row(y), x, (load32(image.row(y), x) & kColourBits) | (a << 24));
    }
  image.reportChange(image.bounds());
  return true;
}

// Source image, destination rect or quad, source rect, then the options.
bool copyPixels(ImageBuffer& image, const MethodCall& call) {
  const Value sourceHolder = bufferValueOf(call[0]);
  const ImageBuffer* source = imageBufferOf(sourceHolder);
  if (!source) return false;
  int at = 1;
  BlitParams params;
  PixelRect reported;
  if (auto quad = quadArgument(call[1])) {
    params.quad = *quad;
    reported = boundsOfQuad(*quad);
    at = 2;
  } else if (auto rect = rectArgument(call.argc, call.argv, at)) {
    params.destinationRect = reported = *rect;
  } else {
    return false;
  }
  const auto sourceRect = rectArgument(call.argc, call.argv, at);
  if (!sourceRect) return false;
  params.sourceRect = *sourceRect;
  Value maskHolder;
  if (at < call.argc) readCopyOptions(call[at], *source, params, maskHolder);
  // Drawing an image into itself reads from a copy, so rows already drawn are not read again.
  Value copy;
  if (source == &image) {
    copy = Value::adopt(image.duplicateRect(image.bounds()));
    if (imageBufferOf(copy)) source = imageBufferOf(copy);
  }
  image.resetClipRect();
  drawImage(image, source, params);
  image.reportChange(reported.intersected(image.bounds()));
  return true;
}

bool createMatte(ImageBuffer& image, const MethodCall& call) {
  const int32_t threshold = call.argc > 0 ? call[0].toInteger() : 1;
  call.answer = image.hasPixels() ? makeImageObject(Value::adopt(buildMatteMask(image, threshold))) : Value();
  return true;
}

// For 1-bit and 8-bit images a copy; void otherwise.
bool createMask(ImageBuffer& image, const MethodCall& call) {
  const PixelFormat format = image.format();
  call.answer = format == PixelFormat::indexed1 || format == PixelFormat::indexed8
                    ? copyAsImageObject(image, image.bounds())
                    : Value();
  return true;
}

bool lock(ImageBuffer& image, const MethodCall&) {
  image.setLocked(true);
  return true;
}

// The argument's value is not used.
bool unlock(ImageBuffer& image, const MethodCall&) {
  image.setLocked(false);
  image.reportChange(image.bounds());
  return true;
}

}  // namespace

bool ImageBuffer::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  return methods().answer(*this, method, argc, argv, result);
}

const MethodTable<ImageBuffer, bool>& ImageBuffer::methods() {
  static constexpr auto kMethods = std::to_array<Method<ImageBuffer, bool>>({
      {sym::duplicate, Arity::any(), duplicateImage},
      {sym::crop, Arity::any(), crop},
      {sym::fill, Arity::any(), fill},
      {sym::draw, Arity::any(), draw},
      {sym::floodFill, Arity::any(), floodFillAt},
      {sym::getPixel, Arity::any(), getPixel},
      {sym::setPixel, Arity::any(), setPixel},
      {sym::trimWhiteSpace, Arity::exactly(0), trimWhiteSpace},
      {sym::extractAlpha, Arity::exactly(0), extractAlpha},
      {sym::setAlpha, Arity::exactly(1), setAlpha},
      {sym::copyPixels, Arity::atLeast(3), copyPixels},
      {sym::createMatte, Arity::any(), createMatte},
      {sym::createMask, Arity::exactly(0), createMask},
      {sym::lock, Arity::any(), lock},
      {sym::unlock, Arity::exactly(1), unlock},
  });
  static constexpr auto kTable = MethodTable<ImageBuffer, bool>::bind(kMethods);
  return kTable;
}

}  // namespace qn
