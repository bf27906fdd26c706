#include "gfx/present_stage.h"

#include <array>
#include <cstring>
#include <optional>
#include <utility>

#include "gfx/pixel_access.h"
#include "gfx/row_loop.h"

namespace qn {

namespace {

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

void presentStage(const ImageBuffer& stage, const FrameBuffer& screen, int32_t displayFormat, const PixelRect& windowRect,
                  int32_t orientation) {
  const auto screenFormat = screenFormatOf(displayFormat, screen.bitsPerPixel);
  if (!screenFormat || !screen.pixels || !stage.hasPixels()) return;
  const PresentRow row = presentRowFor(stage.format(), *screenFormat);
  if (!row) return;
  // The window rect, cut to the screen and to the window pixels that show a stage pixel.
  PixelRect shown = windowRect.intersected({0, 0, screen.width, screen.height});
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

}  // namespace qn
