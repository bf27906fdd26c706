// drawImage: ink resolution, mask limits, clipping, 16.16 scaling and the row loop. The quad
// rasterizer is in quad_mapping.cpp; the pixel arithmetic in general_path.cpp and fast_paths.cpp.
#include "gfx/draw_image.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "gfx/fast_paths.h"
#include "gfx/quad_mapping.h"

namespace qn {

namespace {

constexpr int64_t kOne = 65536;  // 1.0 in 16.16

bool isUsableMask(const ImageBuffer* mask) {
  return mask && mask->hasPixels() && !mask->noBorder() &&
         (mask->format() == PixelFormat::indexed1 || mask->format() == PixelFormat::indexed8);
}

// Resolves the ink and the write-back rule once per draw. Nothing when the draw draws nothing.
std::optional<PixelStage> resolveStage(const ImageBuffer& destination, const ImageBuffer& source,
                                       const BlitParams& params, const ImageBuffer*& mask) {
  const int32_t blend = std::clamp(params.blend, 0, 255);
  if (blend == 0) return std::nullopt;
  int32_t inkNumber = params.ink;
  if (!mask && (inkNumber == ink::matte || inkNumber == ink::mask || inkNumber == ink::maskThreshold))
    inkNumber = ink::copy;
  if (blend < 255 && inkNumber != ink::backgroundTransparent) inkNumber = ink::blend;

  const PixelFormat from = source.format();
  const PixelFormat to = destination.format();
  if (from == PixelFormat::indexed2 || to == PixelFormat::indexed1 || to == PixelFormat::indexed2 ||
      to == PixelFormat::indexed4)
    return std::nullopt;

  const uint32_t fore = params.foreColour & kColourBits;
  const uint32_t back = params.backColour & kColourBits;
  const bool alphaSource = from == PixelFormat::argb8888 && source.useAlpha();
  if (!isIndexed(to) && inkNumber == ink::copy && !alphaSource && !(fore == 0 && back == 0xFFFFFF))
    inkNumber = ink::colourRemap;

  PixelStage stage;
  stage.op = inkOpOf(inkNumber);
  stage.source = from;
  stage.destination = to;
  stage.blend = blend;
  stage.fore = fore;
  stage.back = back;
  stage.threshold = back & 0xFF;
  stage.sourceLookup = source.palette() ? source.palette()->lookup() : nullptr;
  stage.destinationLookup = destination.palette() ? destination.palette()->lookup() : nullptr;
  stage.destinationInverse = destination.palette() ? destination.palette()->inverseTable() : nullptr;
  stage.samePalette = source.palette() && source.palette() == destination.palette();
  stage.transparentKey =
      source.palette() ? source.palette()->colour(source.palette()->nearestIndex(back)) & kColourBits : back;

  if (from == PixelFormat::indexed8 && inkNumber == ink::coverage) {
    stage.rule = WriteRule::coverage;
    mask = nullptr;
  } else if (alphaSource) {
    stage.rule = WriteRule::sourceAlpha;
  } else if (mask && inkNumber != ink::maskThreshold &&
             !(inkNumber == ink::alphaFromMask && to == PixelFormat::argb8888 && mask->format() == PixelFormat::indexed8)) {
    stage.rule = WriteRule::mask;
  }
  if (mask) {
    stage.maskKind = mask->format() == PixelFormat::indexed1 ? MaskKind::bits : MaskKind::bytes;
    stage.maskFormat = mask->format();
  }
  if (!writeBackExists(stage)) return std::nullopt;
  return stage;
}

// One axis of a rect draw: the destination run [first, end) and the 16.16 source position of
// `first` with its step.
struct AxisMapping {
  int32_t first;
  int32_t end;
  int64_t position;
  int64_t step;
};

// Maps destination run [destinationStart, destinationEnd) onto source run [sourceStart, sourceEnd),
// limited to destination [limitStart, limitEnd) and to the destination pixels whose sample falls
// inside source [validStart, validEnd). Nearest-below sampling: a pixel takes the source pixel at
// the integer part of its position.
std::optional<AxisMapping> mapAxis(int32_t destinationStart, int32_t destinationEnd, int32_t sourceStart,
                                   int32_t sourceEnd, int32_t limitStart, int32_t limitEnd, int32_t validStart,
                                   int32_t validEnd) {
  const int64_t destinationSize = int64_t{destinationEnd} - destinationStart;
  const int64_t sourceSize = int64_t{sourceEnd} - sourceStart;
  AxisMapping axis{std::max(destinationStart, limitStart), std::min(destinationEnd, limitEnd), 0, kOne};
  if (axis.first >= axis.end) return std::nullopt;
  // How far into the destination run the first pixel lies: up to 2^32 - 1, beyond 32 bits.
  const int64_t skipped = int64_t{axis.first} - destinationStart;
  if (destinationSize == sourceSize) {
    axis.position = (int64_t{sourceStart} + skipped) * kOne;
  } else {
    axis.step = sourceSize * kOne / destinationSize;
    const double start = sourceStart + static_cast<double>(skipped) *
                                           static_cast<double>(sourceSize) / static_cast<double>(destinationSize);
    axis.position = static_cast<int64_t>(std::floor(start * kOne));
  }
  const int64_t low = int64_t{validStart} * kOne;
  const int64_t high = int64_t{validEnd} * kOne;  // exclusive
  if (axis.position < low) {
    if (axis.step == 0) return std::nullopt;
    const int64_t skip = (low - axis.position + axis.step - 1) / axis.step;
    if (skip >= axis.end - axis.first) return std::nullopt;
    axis.first += static_cast<int32_t>(skip);
    axis.position += skip * axis.step;
  }
  if (axis.position >= high) return std::nullopt;
  if (axis.step > 0) {
    const int64_t inside = (high - 1 - axis.position) / axis.step + 1;
    axis.end = static_cast<int32_t>(std::min<int64_t>(axis.end, axis.first + inside));
  }
  return axis;
}

void drawRect(ImageBuffer& destination, const ImageBuffer& source, const ImageBuffer* mask,
              const BlitParams& params, const PixelStage& stage) {
  const PixelRect& to = params.destinationRect;
  const PixelRect& from = params.sourceRect;
  if (to.isEmpty() || from.isEmpty()) return;
  PixelRect valid = from.intersected(source.bounds());
  if (mask) valid = valid.intersected(mask->bounds().offsetBy(params.maskOffsetH, params.maskOffsetV));
  const PixelRect limit = destination.bounds().intersected(destination.clipRect());
  if (valid.isEmpty() || limit.isEmpty()) return;

  const auto across = mapAxis(to.left, to.right, from.left, from.right, limit.left, limit.right, valid.left, valid.right);
  if (!across) return;
  const auto down = mapAxis(to.top, to.bottom, from.top, from.bottom, limit.top, limit.bottom, valid.top, valid.bottom);
  if (!down) return;

  auto lastColumn = [](const AxisMapping& axis) { return (axis.position + (axis.end - 1 - axis.first) * axis.step) >> 16; };
  const bool oneSourcePixel =
      lastColumn(*across) == across->position >> 16 && lastColumn(*down) == down->position >> 16;
  RowFunction row = nullptr;
  if (fastPathsEnabled()) row = findFastPath(stage, across->step, down->step, oneSourcePixel);
  if (!row) row = generalRow;

  RowSpan span{nullptr, across->first, across->end - across->first, nullptr, across->position, across->step,
               nullptr, across->position - int64_t{params.maskOffsetH} * kOne};
  auto startAt = [&](int32_t y, int32_t sourceY) {
    span.destination = destination.row(y);
    span.source = source.row(sourceY);
    if (mask) span.mask = mask->row(sourceY - params.maskOffsetV);
  };
  if (down->step == kOne) {  // rows advance in step: one call draws them all
    startAt(down->first, static_cast<int32_t>(down->position >> 16));
    span.rows = down->end - down->first;
    span.destinationStride = destination.rowStep();
    span.sourceStride = source.rowStep();
    span.maskStride = mask ? mask->rowStep() : 0;
    row(span, stage);
    return;
  }
  // Stretched downwards, neighbouring rows sample the same source row; where a row's pixels do
  // not depend on what they overwrite, such a row is a byte copy of the one above. A shortcut
  // like the fast paths, and off with them, so that the general path stays the reference.
  const size_t pixelBytes = static_cast<size_t>(bitsPerPixel(stage.destination) / 8);
  const bool repeatsRows = fastPathsEnabled() && down->step < kOne && !destinationNeeded(stage) && pixelBytes > 0;
  int64_t position = down->position;
  int32_t drawnSourceY = -1;
  for (int32_t y = down->first; y < down->end; ++y, position += down->step) {
    const int32_t sourceY = static_cast<int32_t>(position >> 16);
    if (repeatsRows && sourceY == drawnSourceY) {
      std::memcpy(destination.row(y) + span.x * pixelBytes, destination.row(y - 1) + span.x * pixelBytes,
                  span.count * pixelBytes);
      continue;
    }
    startAt(y, sourceY);
    row(span, stage);
    drawnSourceY = sourceY;
  }
}

}  // namespace

void drawImage(ImageBuffer& destination, const ImageBuffer* source, const BlitParams& params) {
  if (!source || !source->hasPixels() || !destination.hasPixels()) return;
  const ImageBuffer* mask = isUsableMask(params.mask) ? params.mask : nullptr;
  // A mask moved further than any image is wide covers no source pixel.
  constexpr int32_t kOffsetLimit = 1 << 28;
  if (mask && (std::abs(int64_t{params.maskOffsetH}) > kOffsetLimit || std::abs(int64_t{params.maskOffsetV}) > kOffsetLimit))
    return;
  const std::optional<PixelStage> stage = resolveStage(destination, *source, params, mask);
  if (!stage) return;
  if (params.quad) drawQuad(destination, *source, mask, params, *stage);
  else drawRect(destination, *source, mask, params, *stage);
}

}  // namespace qn
