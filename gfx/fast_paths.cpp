// Fast paths for unscaled draws at full blend. Each row function computes exactly what the
// general path computes for its case, pixel by pixel, without the working-colour rows.
#include "gfx/fast_paths.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "gfx/ink_formulas.h"
#include "gfx/pixel_access.h"
#include "gfx/row_loop.h"

namespace qn {

namespace {

using enum PixelFormat;

bool enabled = true;

// Every row function first takes the span apart into locals: stores through byte pointers could
// otherwise alias the span, and the loops would neither count nor vectorize.
struct Row {
  const uint8_t* source;  // at the first sampled pixel's row start
  int64_t from;           // first source column
  const uint8_t* mask;
  int64_t maskFrom;       // first mask column
  uint8_t* destination;   // at the first destination pixel
  int32_t count;
  explicit Row(const RowSpan& span)
      : source(span.source),
        from(span.sourceX >> 16),
        mask(span.mask),
        maskFrom(span.maskX >> 16),
        destination(span.destination),
        count(span.count) {}
};

// Runs a row function over every row of a block; each instruction set gets its own build of
// the loop with the row function inlined (the row functions are always inlined for that).
template <RowFunction OneRow>
QN_ROW_LOOP void eachRow(const RowSpan& block, const PixelStage& stage) {
  RowSpan span = block;
  for (int32_t y = 0; y < block.rows; ++y, span.nextRow()) OneRow(span, stage);
}

// ---- same format ----

// Large copies go in pieces small enough for the C library's vector copy: its string-move path for
// big blocks is slower on some processors.
inline void copyInPieces(uint8_t* destination, const uint8_t* source, size_t bytes) {
  constexpr size_t kPiece = 2048;
  for (; bytes > kPiece; bytes -= kPiece, destination += kPiece, source += kPiece)
    std::memcpy(destination, source, kPiece);
  std::memcpy(destination, source, bytes);
}

// Rows of the same format are copied as bytes; rows that lie back to back in both images (whole
// rows of equal strides) go in one copy.
template <PixelFormat F>
void copyBytes(const RowSpan& block, const PixelStage&) {
  constexpr int32_t bytes = bitsPerPixel(F) / 8;
  const size_t rowBytes = static_cast<size_t>(block.count) * bytes;
  uint8_t* destination = block.destination + block.x * bytes;
  const uint8_t* source = block.source + (block.sourceX >> 16) * bytes;
  const bool contiguous = block.destinationStride == block.sourceStride &&
                          static_cast<size_t>(-block.destinationStride) == rowBytes;
  if (contiguous && block.rows > 1) {  // bottom-up: the last row starts the memory
    const ptrdiff_t lastRow = block.destinationStride * (block.rows - 1);
    copyInPieces(destination + lastRow, source + lastRow, rowBytes * static_cast<size_t>(block.rows));
    return;
  }
  for (int32_t y = 0; y < block.rows; ++y) {
    std::memcpy(destination, source, rowBytes);
    destination += block.destinationStride;
    source += block.sourceStride;
  }
}

// Bit 15 of a 5-5-5 pixel is not carried: the general path drops it when it stores.
[[gnu::always_inline]] inline void copy555(const RowSpan& span, const PixelStage&) {
  const Row r(span);
  const uint8_t* source = r.source + 2 * r.from;
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  for (int32_t i = 0; i < r.count; ++i) store16(destination, i, static_cast<uint16_t>(load16(source, i) & 0x7FFF));
}

// ---- 16-bit destinations ----

// A source pixel as the destination's 16-bit value, as widening then narrowing would give it.
template <PixelFormat S, PixelFormat D>
inline uint16_t to16(uint32_t raw) {
  if constexpr (S == D && D == rgb565) return static_cast<uint16_t>(raw);
  else if constexpr (S == D) return static_cast<uint16_t>(raw & 0x7FFF);
  else return narrow16<D>(widenRaw<S>(raw, nullptr));
}

template <PixelFormat S, PixelFormat D>
[[gnu::always_inline]] inline void copyTo16(const RowSpan& span, const PixelStage&) {
  const Row r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  for (int32_t i = 0; i < r.count; ++i) store16(destination, i, to16<S, D>(rawPixel<S>(r.source, r.from + i)));
}

// Scaled: each pixel samples the source column at the integer part of its 16.16 position.
template <PixelFormat S, PixelFormat D>
[[gnu::always_inline]] inline void scaledCopyTo16(const RowSpan& span, const PixelStage&) {
  const Row r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  int64_t position = span.sourceX;
  const int64_t step = span.stepX;
  for (int32_t i = 0; i < r.count; ++i, position += step)
    store16(destination, i, to16<S, D>(rawPixel<S>(r.source, position >> 16)));
}

// 1-bit mask: a set bit keeps the destination. Whole mask bytes go eight pixels at a time.
template <PixelFormat S, PixelFormat D>
[[gnu::always_inline]] inline void bitMaskedTo16(const RowSpan& span, const PixelStage&) {
  const Row r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  int32_t i = 0;
  while (i < r.count) {
    const int64_t m = r.maskFrom + i;
    if ((m & 7) == 0 && i + 8 <= r.count) {
      const uint8_t bits = r.mask[m >> 3];
      if (bits == 0xFF) {
        i += 8;
        continue;
      }
      if (bits == 0) {
        for (int32_t k = 0; k < 8; ++k, ++i) store16(destination, i, to16<S, D>(rawPixel<S>(r.source, r.from + i)));
        continue;
      }
    }
    if (!rawPixel<indexed1>(r.mask, m)) store16(destination, i, to16<S, D>(rawPixel<S>(r.source, r.from + i)));
    ++i;
  }
}

template <PixelFormat S, PixelFormat D>
[[gnu::always_inline]] inline void byteMaskedTo16(const RowSpan& span, const PixelStage&) {
  const Row r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  for (int32_t i = 0; i < r.count; ++i) {
    const uint32_t m = r.mask[r.maskFrom + i];
    if (m == 255) continue;
    const uint32_t raw = rawPixel<S>(r.source, r.from + i);
    uint16_t out = to16<S, D>(raw);
    if (m != 0) {
      const uint32_t d = widen16<D>(load16(destination, i));
      out = narrow16<D>(blendArgb(d, widenRaw<S>(raw, nullptr), static_cast<int32_t>(255 - m)));
    }
    store16(destination, i, out);
  }
}

// The source value that is transparent, or a value no pixel of S has when bg has no exact
// representation in S (a widened source colour can then never equal it).
template <PixelFormat S>
inline uint32_t transparentRaw(const PixelStage& stage, uint32_t& compareMask) {
  compareMask = S == rgb555 ? 0x7FFF : (S == rgb565 ? 0xFFFF : kColourBits);
  if constexpr (isSixteenBit(S)) {
    const uint32_t packed = narrow16<S>(stage.transparentKey);
    return (widen16<S>(packed) & kColourBits) == stage.transparentKey ? packed : 0x10000;
  } else {
    return stage.transparentKey;
  }
}

template <PixelFormat S, PixelFormat D>
[[gnu::always_inline]] inline void backgroundTransparentTo16(const RowSpan& span, const PixelStage& stage) {
  const Row r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  uint32_t compareMask;
  const uint32_t key = transparentRaw<S>(stage, compareMask);
  for (int32_t i = 0; i < r.count; ++i) {
    const uint32_t raw = rawPixel<S>(r.source, r.from + i);
    if ((raw & compareMask) != key) store16(destination, i, to16<S, D>(raw));
  }
}

template <PixelFormat S, PixelFormat D>
[[gnu::always_inline]] inline void thresholdTo16(const RowSpan& span, const PixelStage& stage) {
  const Row r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  const uint32_t threshold = stage.threshold;
  for (int32_t i = 0; i < r.count; ++i)
    if (r.mask[r.maskFrom + i] <= threshold) store16(destination, i, to16<S, D>(rawPixel<S>(r.source, r.from + i)));
}

// A partial blend of the whole source over the destination.
template <PixelFormat S, PixelFormat D>
[[gnu::always_inline]] inline void blendTo16(const RowSpan& span, const PixelStage& stage) {
  const Row r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  const int32_t level = stage.blend;
  for (int32_t i = 0; i < r.count; ++i) {
    const uint32_t s = widenRaw<S>(rawPixel<S>(r.source, r.from + i), nullptr);
    const uint32_t d = widen16<D>(load16(destination, i));
    store16(destination, i, narrow16<D>(blendColour(d, s, level)));
  }
}

// A 32-bit source with alpha: 255 writes, 0 keeps, anything between weighs the source over d.
template <PixelFormat D>
[[gnu::always_inline]] inline void alphaTo16(const RowSpan& span, const PixelStage&) {
  const Row r(span);
  const uint8_t* source = r.source + 4 * r.from;
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  for (int32_t i = 0; i < r.count; ++i) {
    const uint32_t s = load32(source, i);
    const uint32_t a = alphaOf(s);
    const uint32_t d = load16(destination, i);
    const uint32_t mixed = narrow16<D>(blendColour(widen16<D>(d), s, static_cast<int32_t>(a)));
    store16(destination, i, static_cast<uint16_t>(a == 255 ? narrow16<D>(s) : a == 0 ? d : mixed));
  }
}

// An 8-bit coverage source drawn in the foreground colour.
template <PixelFormat D>
[[gnu::always_inline]] inline void coverageTo16(const RowSpan& span, const PixelStage& stage) {
  const Row r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  const uint32_t fore = kOpaque | stage.fore;
  const uint16_t solid = narrow16<D>(fore);
  for (int32_t i = 0; i < r.count; ++i) {
    const uint32_t c = r.source[r.from + i];
    if (c == 255) continue;
    uint16_t out = solid;
    if (c != 0) out = narrow16<D>(blendArgb(widen16<D>(load16(destination, i)), fore, static_cast<int32_t>(255 - c)));
    store16(destination, i, out);
  }
}

// ---- 8-bit destinations sharing the source's palette ----

[[gnu::always_inline]] inline void bitMaskedIndexed(const RowSpan& span, const PixelStage&) {
  const Row r(span);
  uint8_t* destination = r.destination + span.x;
  for (int32_t i = 0; i < r.count; ++i)
    if (!rawPixel<indexed1>(r.mask, r.maskFrom + i)) destination[i] = r.source[r.from + i];
}

[[gnu::always_inline]] inline void backgroundTransparentIndexed(const RowSpan& span, const PixelStage& stage) {
  const Row r(span);
  uint8_t* destination = r.destination + span.x;
  for (int32_t i = 0; i < r.count; ++i) {
    const uint8_t index = r.source[r.from + i];
    if ((stage.sourceLookup[index] & kColourBits) != stage.transparentKey) destination[i] = index;
  }
}

// ---- the table ----

struct FastPath {
  bool scaled;  // handles any 16.16 step; the others need exactly one source pixel per pixel
  PixelFormat source;
  PixelFormat destination;
  InkOp op;
  WriteRule rule;
  MaskKind mask;
  bool samePalette;  // required: the source and destination share their palette object
  RowFunction row;
};

using enum InkOp;
using enum WriteRule;
using enum MaskKind;

// Every path a 16-bit destination has for one source format.
template <PixelFormat S, PixelFormat D>
constexpr std::array<FastPath, 7> sixteenBitPaths() {
  return {{{false, S, D, source, store, none, false, &eachRow<&copyTo16<S, D>>},
           {true, S, D, source, store, none, false, &eachRow<&scaledCopyTo16<S, D>>},
           {false, S, D, source, WriteRule::mask, bits, false, &eachRow<&bitMaskedTo16<S, D>>},
           {false, S, D, source, WriteRule::mask, bytes, false, &eachRow<&byteMaskedTo16<S, D>>},
           {false, S, D, backgroundTransparent, store, none, false, &eachRow<&backgroundTransparentTo16<S, D>>},
           {false, S, D, maskThreshold, store, bytes, false, &eachRow<&thresholdTo16<S, D>>},
           {false, S, D, blend, store, none, false, &eachRow<&blendTo16<S, D>>}}};
}

template <class T, size_t... N>
constexpr auto joined(const std::array<T, N>&... parts) {
  std::array<T, (N + ...)> all{};
  size_t at = 0;
  ((std::copy(parts.begin(), parts.end(), all.begin() + at), at += N), ...);
  return all;
}

// Searched in order; the first entry that matches wins.
constexpr std::array<FastPath, 10> kSpecialPaths = {{
    {false, rgb565, rgb565, source, store, none, false, &copyBytes<rgb565>},
    {false, rgb555, rgb555, source, store, none, false, &eachRow<&copy555>},
    {false, rgb888, rgb888, source, store, none, false, &copyBytes<rgb888>},
    {false, argb8888, argb8888, source, store, none, false, &copyBytes<argb8888>},
    {false, indexed8, indexed8, source, store, none, true, &copyBytes<indexed8>},
    {false, indexed8, indexed8, source, WriteRule::mask, bits, true, &eachRow<&bitMaskedIndexed>},
    {false, indexed8, indexed8, backgroundTransparent, store, none, true, &eachRow<&backgroundTransparentIndexed>},
    {false, argb8888, rgb565, source, sourceAlpha, none, false, &eachRow<&alphaTo16<rgb565>>},
    {false, argb8888, rgb555, source, sourceAlpha, none, false, &eachRow<&alphaTo16<rgb555>>},
    {false, indexed8, rgb565, source, coverage, none, false, &eachRow<&coverageTo16<rgb565>>},
}};
constexpr std::array<FastPath, 1> kCoverage555 = {{{false, indexed8, rgb555, source, coverage, none, false, &eachRow<&coverageTo16<rgb555>>}}};

constexpr auto kFastPaths = joined(
    kSpecialPaths, kCoverage555, sixteenBitPaths<rgb565, rgb565>(), sixteenBitPaths<rgb555, rgb565>(),
    sixteenBitPaths<rgb888, rgb565>(), sixteenBitPaths<argb8888, rgb565>(), sixteenBitPaths<rgb565, rgb555>(),
    sixteenBitPaths<rgb555, rgb555>(), sixteenBitPaths<rgb888, rgb555>(), sixteenBitPaths<argb8888, rgb555>());

bool matches(const FastPath& path, const PixelStage& stage, bool scaled) {
  return (path.scaled || !scaled) && (stage.blend == 255 || path.op == blend) && path.source == stage.source && path.destination == stage.destination && path.op == stage.op &&
         path.rule == stage.rule && path.mask == stage.maskKind && (!path.samePalette || stage.samePalette);
}

}  // namespace

RowFunction findFastPath(const PixelStage& stage, bool scaled) {
  if (!enabled) return nullptr;
  for (const FastPath& path : kFastPaths)
    if (matches(path, stage, scaled)) return path.row;
  return nullptr;
}

void setFastPathsEnabled(bool on) { enabled = on; }
bool fastPathsEnabled() { return enabled; }

}  // namespace qn
