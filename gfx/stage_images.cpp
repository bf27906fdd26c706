#include "gfx/stage_images.h"

#include <array>
#include <cstring>
#include <optional>
#include <utility>

#include "gfx/image_object.h"
#include "gfx/image_owner.h"
#include "gfx/pixel_access.h"
#include "gfx/row_loop.h"
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

// One window row: `count` pixels from the stage, the stage address moving by `sourceStep` bytes
// and the screen address by `xPitch` bytes per pixel.
using PresentRow = void (*)(const uint8_t* source, ptrdiff_t sourceStep, uint8_t* target, ptrdiff_t xPitch,
                            int32_t count);

template <PixelFormat S, PixelFormat D>
QN_ROW_LOOP void presentRow(const uint8_t* source, ptrdiff_t sourceStep, uint8_t* target, ptrdiff_t xPitch,
                            int32_t count) {
  constexpr int32_t sourceBytes = bitsPerPixel(S) / 8;
  constexpr int32_t targetBytes = bitsPerPixel(D) / 8;
  if (S == D && sourceStep == sourceBytes && xPitch == targetBytes) {
    std::memcpy(target, source, static_cast<size_t>(count) * targetBytes);
    return;
  }
  for (int32_t i = 0; i < count; ++i, source += sourceStep, target += xPitch)
    writeRaw<D>(target, 0, narrowColour<D>(widenRaw<S>(rawPixel<S>(source, 0), nullptr), nullptr));
}

constexpr std::array<PixelFormat, 4> kScreenFormats = {PixelFormat::rgb555, PixelFormat::rgb565, PixelFormat::rgb888,
                                                       PixelFormat::argb8888};

template <PixelFormat S, size_t... I>
constexpr std::array<PresentRow, 4> presentRowsFrom(std::index_sequence<I...>) {
  return {&presentRow<S, kScreenFormats[I]>...};
}

PresentRow presentRowFor(PixelFormat stage, PixelFormat screen) {
  static constexpr std::array<std::array<PresentRow, 4>, 4> kRows = {
      presentRowsFrom<PixelFormat::rgb555>(std::make_index_sequence<4>()),
      presentRowsFrom<PixelFormat::rgb565>(std::make_index_sequence<4>()),
      presentRowsFrom<PixelFormat::rgb888>(std::make_index_sequence<4>()),
      presentRowsFrom<PixelFormat::argb8888>(std::make_index_sequence<4>())};
  auto indexOf = [](PixelFormat format) -> int {
    for (size_t i = 0; i < kScreenFormats.size(); ++i)
      if (kScreenFormats[i] == format) return static_cast<int>(i);
    return -1;
  };
  const int from = indexOf(stage), to = indexOf(screen);
  return from < 0 || to < 0 ? nullptr : kRows[static_cast<size_t>(from)][static_cast<size_t>(to)];
}

std::optional<PixelFormat> screenFormatOf(int32_t displayFormat, int32_t bitsPerPixel) {
  if (displayFormat == kDisplay555 && bitsPerPixel == 16) return PixelFormat::rgb555;
  if (displayFormat == kDisplay565 && bitsPerPixel == 16) return PixelFormat::rgb565;
  if (bitsPerPixel == 24) return PixelFormat::rgb888;
  if (bitsPerPixel == 32) return PixelFormat::argb8888;
  return std::nullopt;
}

}  // namespace

void presentStage(const ImageBuffer& stage, const FrameBuffer& screen, int32_t displayFormat, const IntRect& windowRect,
                  int32_t orientation) {
  const auto screenFormat = screenFormatOf(displayFormat, screen.bitsPerPixel);
  if (!screenFormat || !screen.pixels || !stage.hasPixels()) return;
  const PresentRow row = presentRowFor(stage.format(), *screenFormat);
  if (!row) return;
  // The window rect, cut to the screen and to the window pixels that show a stage pixel.
  PixelRect shown = pixelRectOf(windowRect).intersected({0, 0, screen.width, screen.height});
  const int32_t pixelBytes = bitsPerPixel(stage.format()) / 8;
  ptrdiff_t sourceStep = pixelBytes;
  switch (orientation) {
    case 90:  // stage x = screen height - 1 - y, stage y = x
      shown = shown.intersected({0, screen.height - stage.width(), stage.height(), screen.height});
      sourceStep = stage.rowStep();
      break;
    case -90:  // stage x = y, stage y = screen width - 1 - x
      shown = shown.intersected({screen.width - stage.height(), 0, screen.width, stage.width()});
      sourceStep = -stage.rowStep();
      break;
    default:
      shown = shown.intersected(stage.bounds());
      break;
  }
  for (int32_t y = shown.top; y < shown.bottom; ++y) {
    int32_t stageX = shown.left, stageY = y;
    if (orientation == 90) {
      stageX = screen.height - 1 - y;
      stageY = shown.left;
    } else if (orientation == -90) {
      stageX = y;
      stageY = screen.width - 1 - shown.left;
    }
    const uint8_t* source = stage.row(stageY) + static_cast<ptrdiff_t>(stageX) * pixelBytes;
    uint8_t* target = screen.pixels + static_cast<ptrdiff_t>(shown.left) * screen.xPitch +
                      static_cast<ptrdiff_t>(y) * screen.yPitch;
    row(source, sourceStep, target, screen.xPitch, shown.width());
  }
}

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

void StageImages::present(const Value& stageImage, const IntRect& windowRect, int32_t orientation) {
  const ImageBuffer* image = imageBufferOf(stageImage);
  if (!image) return;
  FrameBuffer screen;
  if (!display_.beginDraw(screen)) return;
  presentStage(*image, screen, display_.displayFormat(), windowRect, orientation);
  display_.endDraw();
}

Value StageImages::imageObject(const Value& stageImage) {
  return stageImage.is(sym::intImage) ? makeImageObject(stageImage) : Value();
}

void StageImages::stageChanged(const PixelRect& changed) const {
  if (listener_ && !changed.isEmpty()) listener_({changed.left, changed.top, changed.right, changed.bottom});
}

}  // namespace qn
