// Fast paths for unscaled draws at full blend. Each row function computes exactly what the
// general path computes for its case, pixel by pixel, without the working-colour rows.
#include "gfx/fast_paths.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "gfx/ink_formulas.h"
#include "gfx/pixel_access.h"

namespace qn {

namespace {

using enum PixelFormat;

bool enabled = true;

// ---- same format ----

template <PixelFormat F>
void copyBytes(const RowSpan& span, const PixelStage&) {
  constexpr int32_t bytes = bitsPerPixel(F) / 8;
  std::memcpy(span.destination + span.x * bytes, span.source + (span.sourceX >> 16) * bytes,
              static_cast<size_t>(span.count) * bytes);
}

// Bit 15 of a 5-5-5 pixel is not carried: the general path drops it when it stores.
void copy555(const RowSpan& span, const PixelStage&) {
  const int64_t from = span.sourceX >> 16;
  for (int32_t i = 0; i < span.count; ++i)
    store16(span.destination, span.x + i, static_cast<uint16_t>(load16(span.source, from + i) & 0x7FFF));
}

// ---- 16-bit destinations ----

// A source pixel as the destination's 16-bit value, as widening then narrowing would give it.
template <PixelFormat S, PixelFormat D>
inline uint16_t to16(uint32_t raw) {
  if constexpr (S == D && D == rgb565) return static_cast<uint16_t>(raw);
  else if constexpr (S == D) return static_cast<uint16_t>(raw & 0x7FFF);
  else return narrow16<D>(widenRaw<S>(raw, nullptr));
}

template <PixelFormat S>
inline uint32_t sourceRaw(const RowSpan& span, int32_t i) {
  return rawPixel<S>(span.source, (span.sourceX >> 16) + i);
}

template <PixelFormat S, PixelFormat D>
void copyTo16(const RowSpan& span, const PixelStage&) {
  for (int32_t i = 0; i < span.count; ++i) store16(span.destination, span.x + i, to16<S, D>(sourceRaw<S>(span, i)));
}

// 1-bit mask: a set bit keeps the destination. Whole mask bytes go eight pixels at a time.
template <PixelFormat S, PixelFormat D>
void bitMaskedTo16(const RowSpan& span, const PixelStage&) {
  const int64_t maskStart = span.maskX >> 16;
  int32_t i = 0;
  while (i < span.count) {
    const int64_t m = maskStart + i;
    if ((m & 7) == 0 && i + 8 <= span.count) {
      const uint8_t bits = span.mask[m >> 3];
      if (bits == 0xFF) {
        i += 8;
        continue;
      }
      if (bits == 0) {
        for (int32_t k = 0; k < 8; ++k, ++i) store16(span.destination, span.x + i, to16<S, D>(sourceRaw<S>(span, i)));
        continue;
      }
    }
    if (!rawPixel<indexed1>(span.mask, m)) store16(span.destination, span.x + i, to16<S, D>(sourceRaw<S>(span, i)));
    ++i;
  }
}

template <PixelFormat S, PixelFormat D>
void byteMaskedTo16(const RowSpan& span, const PixelStage&) {
  const int64_t maskStart = span.maskX >> 16;
  for (int32_t i = 0; i < span.count; ++i) {
    const uint32_t m = span.mask[maskStart + i];
    if (m == 255) continue;
    const uint32_t raw = sourceRaw<S>(span, i);
    uint16_t out = to16<S, D>(raw);
    if (m != 0) {
      const uint32_t d = widen16<D>(load16(span.destination, span.x + i));
      out = narrow16<D>(blendArgb(d, widenRaw<S>(raw, nullptr), static_cast<int32_t>(255 - m)));
    }
    store16(span.destination, span.x + i, out);
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
void backgroundTransparentTo16(const RowSpan& span, const PixelStage& stage) {
  uint32_t compareMask;
  const uint32_t key = transparentRaw<S>(stage, compareMask);
  for (int32_t i = 0; i < span.count; ++i) {
    const uint32_t raw = sourceRaw<S>(span, i);
    if ((raw & compareMask) != key) store16(span.destination, span.x + i, to16<S, D>(raw));
  }
}

template <PixelFormat S, PixelFormat D>
void thresholdTo16(const RowSpan& span, const PixelStage& stage) {
  const int64_t maskStart = span.maskX >> 16;
  for (int32_t i = 0; i < span.count; ++i) {
    const uint32_t m = span.mask[maskStart + i];
    if (m <= stage.threshold) store16(span.destination, span.x + i, to16<S, D>(sourceRaw<S>(span, i)));
  }
}

// A 32-bit source with alpha: 255 writes, 0 keeps, anything between weighs the source over d.
template <PixelFormat D>
void alphaTo16(const RowSpan& span, const PixelStage&) {
  const int64_t from = span.sourceX >> 16;
  uint8_t* row = span.destination + 2 * int64_t{span.x};
  for (int32_t i = 0; i < span.count; ++i) {
    const uint32_t s = load32(span.source, from + i);
    const uint32_t a = alphaOf(s);
    if (a == 0) continue;
    if (a == 255) {
      store16(row, i, narrow16<D>(s));
    } else {
      const uint32_t d = widen16<D>(load16(row, i));
      store16(row, i, narrow16<D>(blendColour(d, s, static_cast<int32_t>(a))));
    }
  }
}

// An 8-bit coverage source drawn in the foreground colour.
template <PixelFormat D>
void coverageTo16(const RowSpan& span, const PixelStage& stage) {
  const int64_t from = span.sourceX >> 16;
  const uint32_t fore = kOpaque | stage.fore;
  const uint16_t solid = narrow16<D>(fore);
  for (int32_t i = 0; i < span.count; ++i) {
    const uint32_t c = span.source[from + i];
    if (c == 255) continue;
    uint16_t out = solid;
    if (c != 0) out = narrow16<D>(blendArgb(widen16<D>(load16(span.destination, span.x + i)), fore, static_cast<int32_t>(255 - c)));
    store16(span.destination, span.x + i, out);
  }
}

// ---- 8-bit destinations sharing the source's palette ----

void bitMaskedIndexed(const RowSpan& span, const PixelStage&) {
  const int64_t from = span.sourceX >> 16;
  const int64_t maskStart = span.maskX >> 16;
  for (int32_t i = 0; i < span.count; ++i)
    if (!rawPixel<indexed1>(span.mask, maskStart + i)) span.destination[span.x + i] = span.source[from + i];
}

void backgroundTransparentIndexed(const RowSpan& span, const PixelStage& stage) {
  const int64_t from = span.sourceX >> 16;
  for (int32_t i = 0; i < span.count; ++i) {
    const uint8_t index = span.source[from + i];
    if ((stage.sourceLookup[index] & kColourBits) != stage.transparentKey) span.destination[span.x + i] = index;
  }
}

// ---- the table ----

struct FastPath {
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
constexpr std::array<FastPath, 5> sixteenBitPaths() {
  return {{{S, D, source, store, none, false, &copyTo16<S, D>},
           {S, D, source, WriteRule::mask, bits, false, &bitMaskedTo16<S, D>},
           {S, D, source, WriteRule::mask, bytes, false, &byteMaskedTo16<S, D>},
           {S, D, backgroundTransparent, store, none, false, &backgroundTransparentTo16<S, D>},
           {S, D, maskThreshold, store, bytes, false, &thresholdTo16<S, D>}}};
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
    {rgb565, rgb565, source, store, none, false, &copyBytes<rgb565>},
    {rgb555, rgb555, source, store, none, false, &copy555},
    {rgb888, rgb888, source, store, none, false, &copyBytes<rgb888>},
    {argb8888, argb8888, source, store, none, false, &copyBytes<argb8888>},
    {indexed8, indexed8, source, store, none, true, &copyBytes<indexed8>},
    {indexed8, indexed8, source, WriteRule::mask, bits, true, &bitMaskedIndexed},
    {indexed8, indexed8, backgroundTransparent, store, none, true, &backgroundTransparentIndexed},
    {argb8888, rgb565, source, sourceAlpha, none, false, &alphaTo16<rgb565>},
    {argb8888, rgb555, source, sourceAlpha, none, false, &alphaTo16<rgb555>},
    {indexed8, rgb565, source, coverage, none, false, &coverageTo16<rgb565>},
}};
constexpr std::array<FastPath, 1> kCoverage555 = {{{indexed8, rgb555, source, coverage, none, false, &coverageTo16<rgb555>}}};

constexpr auto kFastPaths = joined(
    kSpecialPaths, kCoverage555, sixteenBitPaths<rgb565, rgb565>(), sixteenBitPaths<rgb555, rgb565>(),
    sixteenBitPaths<rgb888, rgb565>(), sixteenBitPaths<argb8888, rgb565>(), sixteenBitPaths<rgb565, rgb555>(),
    sixteenBitPaths<rgb555, rgb555>(), sixteenBitPaths<rgb888, rgb555>(), sixteenBitPaths<argb8888, rgb555>());

bool matches(const FastPath& path, const PixelStage& stage) {
  return path.source == stage.source && path.destination == stage.destination && path.op == stage.op &&
         path.rule == stage.rule && path.mask == stage.maskKind && (!path.samePalette || stage.samePalette);
}

}  // namespace

RowFunction findFastPath(const PixelStage& stage) {
  if (!enabled || stage.blend != 255) return nullptr;
  for (const FastPath& path : kFastPaths)
    if (matches(path, stage)) return path.row;
  return nullptr;
}

void setFastPathsEnabled(bool on) { enabled = on; }
bool fastPathsEnabled() { return enabled; }

}  // namespace qn
