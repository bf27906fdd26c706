// The pixel stage of a draw: everything fixed once per draw (the resolved ink, the write-back
// rule, colours, formats, palettes) and the row span a row function works on. The general path
// (general_path.cpp) covers every case and is the reference; the fast paths (fast_paths.cpp)
// cover common cases with the same results.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/pixel_format.h"

namespace qn {

// The combining formula of an ink; several ink numbers share one (copy, matte, mask and ink 50
// all take the source).
enum class InkOp : uint8_t {
  source,
  transparent,
  reverse,
  ghost,
  notCopy,
  notTrans,
  notReverse,
  notGhost,
  blend,
  addPin,
  add,
  subPin,
  backgroundTransparent,
  lightest,
  sub,
  darkest,
  lighten,
  darken,
  colourRemap,
  alphaFromMask,
  maskThreshold,
};
inline constexpr int kInkOpCount = 21;
InkOp inkOpOf(int32_t inkNumber);
// Whether the formula reads the destination pixel.
bool inkOpReadsDestination(InkOp op);

// How the combined colour r reaches the destination (first rule that applies).
enum class WriteRule : uint8_t {
  store,        // r converted and stored
  sourceAlpha,  // r's alpha weighs r over d (a 32-bit source with useAlpha)
  coverage,     // ink 50 with an 8-bit source: the source byte weighs fg over d
  mask,         // the mask byte weighs r over d (0 writes r, 255 keeps d)
};

enum class MaskKind : uint8_t { none, bits, bytes };

struct PixelStage {
  InkOp op = InkOp::source;
  WriteRule rule = WriteRule::store;
  MaskKind maskKind = MaskKind::none;
  PixelFormat source = PixelFormat::argb8888;
  PixelFormat destination = PixelFormat::argb8888;
  PixelFormat maskFormat = PixelFormat::indexed8;
  int32_t blend = 255;
  uint32_t fore = 0;            // 0xRRGGBB
  uint32_t back = 0xFFFFFF;     // 0xRRGGBB
  uint32_t transparentKey = 0;  // backgroundTransparent: source colours (low 24 bits) equal to it keep d
  uint32_t threshold = 0;       // ink 53: the mask value up to which the source is copied
  bool samePalette = false;     // source and destination share one palette object
  const uint32_t* sourceLookup = nullptr;    // source palette entries, 256 of them
  const uint32_t* destinationLookup = nullptr;
  const uint8_t* destinationInverse = nullptr;
};

// A block of destination row spans of equal width with the source rows they sample: `rows` rows,
// each the previous one moved by the byte strides (negative for bottom-up images). Positions are
// 16.16 fixed point; the mask position is in mask pixels. Fast paths that do not scale need a
// step of exactly 1.0.
struct RowSpan {
  uint8_t* destination;  // the first row
  int32_t x;
  int32_t count;
  const uint8_t* source;
  int64_t sourceX;
  int64_t stepX;
  const uint8_t* mask;  // null without a mask image
  int64_t maskX;
  int32_t rows = 1;
  ptrdiff_t destinationStride = 0;
  ptrdiff_t sourceStride = 0;
  ptrdiff_t maskStride = 0;

  void nextRow() {
    destination += destinationStride;
    source += sourceStride;
    if (mask) mask += maskStride;
  }
  // The same rows in the opposite order (the last row first, the strides turned round).
  RowSpan reversed() const {
    RowSpan other = *this;
    const ptrdiff_t last = rows - 1;
    other.destination += destinationStride * last;
    other.source += sourceStride * last;
    if (mask) other.mask += maskStride * last;
    other.destinationStride = -destinationStride;
    other.sourceStride = -sourceStride;
    other.maskStride = -maskStride;
    return other;
  }
};

using RowFunction = void (*)(const RowSpan& span, const PixelStage& stage);

// Rows already sampled into the working layout (the quad rasterizer samples its spans itself).
struct SampledSpan {
  const uint32_t* colours;  // working colours
  const uint8_t* raw;       // raw source bytes (palette indices) for indexed sources, else null
  const uint8_t* mask;      // mask bytes (bit masks as 0 or 255), or null
  int32_t count;
};

// The general path: samples the span and combines it.
void generalRow(const RowSpan& span, const PixelStage& stage);
// Combines sampled pixels into destination columns x .. x + count - 1 of a row.
void combineSampled(uint8_t* destinationRow, int32_t x, const SampledSpan& sampled, const PixelStage& stage);

// Row-level samplers shared by the general path and the quad rasterizer.
using SampleFunction = void (*)(const uint8_t* row, int64_t position, int64_t step, int32_t count,
                                const uint32_t* lookup, uint32_t* colours, uint8_t* raw);
SampleFunction sampler(PixelFormat format);
uint8_t readMaskValue(PixelFormat maskFormat, const uint8_t* row, int64_t x);

// Whether a row's result depends on the destination pixels it overwrites (the ink reads them, or
// the write-back weighs the result over them).
bool destinationNeeded(const PixelStage& stage);

// Whether the mask image plays a part in a row's result: through the write-back, or in the ink
// (ink 52 and 53). A source with alpha writes by its alpha and leaves a matte unread.
bool maskNeeded(const PixelStage& stage);

// Whether a stage can be drawn at all: write-back exists for this destination and rule.
bool writeBackExists(const PixelStage& stage);

// Scratch rows of the general path, grown to the widest span seen.
struct ScratchRows {
  uint32_t* colours;
  uint8_t* raw;
  uint8_t* mask;
  uint32_t* destination;
  uint32_t* result;
};
ScratchRows scratchRows(int32_t width);

}  // namespace qn
