#include "gfx/stage_images.h"

#include <cstring>

#include "gfx/image_object.h"
#include "gfx/image_owner.h"
#include "gfx/shape_drawing.h"

namespace qn {

namespace {

PixelRect pixelRectOf(const IntRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// The owner of a stage image: passes reported changes on to the service.
class StageOwner final : public ScriptObject, public ImageOwner {
 public:
  explicit StageOwner(const StageImages& service) : ScriptObject(sym::movie), service_(service) {}
  void toString(std::string& out) const override { out += "(the stage)"; }
  ScriptObject* duplicate() override {
    retain();
    return this;
  }
  void imageChanged(const PixelRect& changed) override { service_.stageChanged(changed); }

 private:
  const StageImages& service_;
};

}  // namespace

Value StageImages::createStageImage(int32_t width, int32_t height, int32_t depth) {
  const int32_t depthCode = depth == 16 || depth == -16 ? depth : 32;
  return Value::adopt(ImageBuffer::create(width, height, depthCode, 0, palette_id::grayscale,
                                          Value::adopt(new StageOwner(*this))));
}

void StageImages::setClip(const Value& stageImage, const IntRect& clip) {
  if (ImageBuffer* image = imageBufferOf(stageImage)) image->setClipRect(pixelRectOf(clip));
}

void StageImages::fill(const Value& stageImage, const IntRect& area, uint32_t rgb) {
  if (ImageBuffer* image = imageBufferOf(stageImage)) fillRect(*image, pixelRectOf(area), rgb);
}

void StageImages::enlarge(const Value& stageImage, const Value& screenImage, const IntRect& area, int32_t scale) {
  const ImageBuffer* stage = imageBufferOf(stageImage);
  ImageBuffer* screen = imageBufferOf(screenImage);
  // Both are made here at the same depth: 16 or 32 bits, whole bytes a pixel.
  if (!stage || !screen || scale < 1 || stage->format() != screen->format() || !stage->hasPixels() ||
      !screen->hasPixels())
    return;
  const PixelRect from = pixelRectOf(area).intersected(stage->bounds()).intersected(
      {0, 0, screen->width() / scale, screen->height() / scale});
  if (from.isEmpty()) return;
  const auto pixelBytes = static_cast<size_t>(bitsPerPixel(stage->format()) / 8);
  const size_t leftBytes = static_cast<size_t>(from.left) * scale * pixelBytes;
  const size_t rowBytes = static_cast<size_t>(from.width()) * scale * pixelBytes;
  for (int32_t y = from.top; y < from.bottom; ++y) {
    const uint8_t* source = stage->row(y) + static_cast<size_t>(from.left) * pixelBytes;
    uint8_t* firstRow = screen->row(y * scale) + leftBytes;
    uint8_t* target = firstRow;
    for (int32_t x = from.left; x < from.right; ++x, source += pixelBytes)
      for (int32_t copy = 0; copy < scale; ++copy, target += pixelBytes) std::memcpy(target, source, pixelBytes);
    for (int32_t copy = 1; copy < scale; ++copy) std::memcpy(screen->row(y * scale + copy) + leftBytes, firstRow, rowBytes);
  }
}

Value StageImages::imageObject(const Value& stageImage) {
  return stageImage.is(sym::intImage) ? makeImageObject(stageImage) : Value();
}

void StageImages::stageChanged(const PixelRect& changed) const {
  if (listener_ && !changed.isEmpty()) listener_({changed.left, changed.top, changed.right, changed.bottom});
}

}  // namespace qn
