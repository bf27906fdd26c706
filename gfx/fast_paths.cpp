// Fast paths of the pixel stage. Each row function computes exactly what the general path
// computes for its case, pixel by pixel, without the working-colour rows.
#include "gfx/fast_paths.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "gfx/ink_formulas.h"
#include "gfx/pixel_access.h"
#include "gfx/row_loop.h"

namespace qn {

namespace {

using enum PixelFormat;

bool enabled = true;

// How a row steps through its source: one source pixel per pixel; exactly twice as wide, each
// source pixel covering two pixels (after a lone first pixel when the row starts in the second
// half of its source pixel); or by any 16.16 step. Doubled rows read each source pixel once, in
// order, for its two pixels (Row::forEach) where stepped rows gather from 16.16 positions, so
// they vectorize like unit rows. A solid draw samples one source pixel (and one mask pixel) for
// the whole rect: a one-pixel picture stretched over the stage, say.
enum class Sampling : uint8_t { unit, doubled, stepped, solid };

// Every row function first takes the span apart into locals: stores through byte pointers could
// otherwise alias the span, and the loops would neither count nor vectorize. A stepped row first
// gathers its source pixels (of format S), in order, into a row of their own: one load a pixel,
// after which the arithmetic runs over consecutive pixels as in unit rows, and vectorizes.
template <Sampling Steps = Sampling::unit, PixelFormat S = PixelFormat::argb8888>
struct Row {
  const uint8_t* source;  // the source row
  int64_t sourceX;        // 16.16
  int64_t step;
  const uint8_t* mask;
  int64_t maskX;          // 16.16
  uint8_t* destination;   // the destination row
  int32_t count;
  explicit Row(const RowSpan& span)
      : source(span.source),
        sourceX(span.sourceX),
        step(span.stepX),
        mask(span.mask),
        maskX(span.maskX),
        destination(span.destination),
        count(span.count) {
    if constexpr (Steps == Sampling::stepped) gather();
  }

  // The source and mask columns of pixel i (a stepped row's source column in its gathered row).
  int64_t column(int32_t i) const {
    if constexpr (Steps == Sampling::stepped) return i;
    else return columnOf(sourceX, i);
  }
  int64_t maskColumn(int32_t i) const { return columnOf(maskX, i); }

  // Calls pixel(i, column) for every pixel of the row. Doubled rows go by source pixel, each
  // giving its two destination pixels, so that the source is read in order.
  template <class Pixel>
  [[gnu::always_inline]] void forEach(Pixel pixel) const {
    if constexpr (Steps == Sampling::doubled) {
      const int32_t lone = static_cast<int32_t>((sourceX >> 15) & 1);
      if (lone) pixel(0, column(0));
      const int64_t first = column(lone);
      const int32_t pairs = (count - lone) / 2;
      for (int32_t k = 0; k < pairs; ++k) {
        pixel(lone + 2 * k, first + k);
        pixel(lone + 2 * k + 1, first + k);
      }
      if ((count - lone) % 2) pixel(count - 1, column(count - 1));
    } else {
      for (int32_t i = 0; i < count; ++i) pixel(i, column(i));
    }
  }

 private:
  void gather() {
    constexpr size_t bytes = bitsPerPixel(S) / 8;
    static_assert(bytes > 0, "rows of sources below a byte a pixel are not gathered");
    thread_local std::vector<uint8_t> gathered;
    if (gathered.size() < static_cast<size_t>(count) * bytes) gathered.resize(static_cast<size_t>(count) * bytes);
    for (int32_t i = 0; i < count; ++i)
      std::memcpy(gathered.data() + static_cast<size_t>(i) * bytes,
                  source + static_cast<size_t>(columnOf(sourceX, i)) * bytes, bytes);
    source = gathered.data();
  }

  int64_t columnOf(int64_t start, int32_t i) const {
    if constexpr (Steps == Sampling::unit) return (start >> 16) + i;
    else if constexpr (Steps == Sampling::doubled) return (start >> 16) + ((((start >> 15) & 1) + i) >> 1);
    else return (start + i * step) >> 16;
  }
};

// Runs a row function over every row of a block; each instruction set gets its own build of
// the loop with the row function inlined (the row functions are always inlined for that).
template <RowFunction OneRow>
QN_ROW_LOOP void eachRow(const RowSpan& block, const PixelStage& stage) {
  // Bottom-up images store the last row first: going through memory upwards suits the
  // prefetcher. Row order does not matter otherwise; a draw never reads the image it writes.
  RowSpan span = block.destinationStride < 0 ? block.reversed() : block;
  for (int32_t y = 0; y < block.rows; ++y, span.nextRow()) OneRow(span, stage);
}

// ---- same format ----

// Copies move 128 bytes a step with the widest registers of the build: the C library's copy
// routine for large blocks is slower than a plain vector loop on some processors.
[[gnu::always_inline]] inline void copyInPieces(uint8_t* destination, const uint8_t* source, size_t bytes) {
  constexpr size_t kStep = 128;
  for (; bytes >= kStep; bytes -= kStep, destination += kStep, source += kStep)
    std::memcpy(destination, source, kStep);
  std::memcpy(destination, source, bytes);
}

// Rows of the same format are copied as bytes, in the order they lie in memory; rows that lie
// back to back in both images (whole rows of equal strides) go as one block.
template <PixelFormat F>
QN_ROW_LOOP void copyBytes(const RowSpan& block, const PixelStage&) {
  constexpr int32_t bytes = bitsPerPixel(F) / 8;
  const RowSpan span = block.destinationStride < 0 ? block.reversed() : block;
  const size_t rowBytes = static_cast<size_t>(span.count) * bytes;
  uint8_t* destination = span.destination + span.x * bytes;
  const uint8_t* source = span.source + (span.sourceX >> 16) * bytes;
  if (span.destinationStride == span.sourceStride && static_cast<size_t>(span.destinationStride) == rowBytes) {
    copyInPieces(destination, source, rowBytes * static_cast<size_t>(span.rows));
    return;
  }
  for (int32_t y = 0; y < span.rows; ++y) {
    copyInPieces(destination, source, rowBytes);
    destination += span.destinationStride;
    source += span.sourceStride;
  }
}

// Bit 15 of a 5-5-5 pixel is not carried: the general path drops it when it stores.
[[gnu::always_inline]] inline void copy555(const RowSpan& span, const PixelStage&) {
  const Row r(span);
  const uint8_t* source = r.source + 2 * r.column(0);
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

template <PixelFormat S, PixelFormat D, Sampling Steps>
[[gnu::always_inline]] inline void copyTo16(const RowSpan& span, const PixelStage&) {
  const Row<Steps, S> r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  r.forEach([&](int32_t i, int64_t column) { store16(destination, i, to16<S, D>(rawPixel<S>(r.source, column))); });
}

// 1-bit mask: a set bit keeps the destination. Unscaled, whole mask bytes go eight pixels at a time.
template <PixelFormat S, PixelFormat D, Sampling Steps>
[[gnu::always_inline]] inline void bitMaskedTo16(const RowSpan& span, const PixelStage&) {
  const Row<Steps, S> r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  int32_t i = 0;
  while (i < r.count) {
    const int64_t m = r.maskColumn(i);
    if (Steps == Sampling::unit && (m & 7) == 0 && i + 8 <= r.count) {
      const uint8_t bits = r.mask[m >> 3];
      if (bits == 0xFF) {
        i += 8;
        continue;
      }
      if (bits == 0) {
        for (int32_t k = 0; k < 8; ++k, ++i) store16(destination, i, to16<S, D>(rawPixel<S>(r.source, r.column(i))));
        continue;
      }
    }
    if (!rawPixel<indexed1>(r.mask, m)) store16(destination, i, to16<S, D>(rawPixel<S>(r.source, r.column(i))));
    ++i;
  }
}

template <PixelFormat S, PixelFormat D, Sampling Steps>
[[gnu::always_inline]] inline void byteMaskedTo16(const RowSpan& span, const PixelStage&) {
  const Row<Steps, S> r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  r.forEach([&](int32_t i, int64_t column) {
    const uint32_t m = r.mask[r.maskColumn(i)];
    if (m == 255) return;
    const uint32_t raw = rawPixel<S>(r.source, column);
    uint16_t out = to16<S, D>(raw);
    if (m != 0) {
      const uint32_t d = widen16<D>(load16(destination, i));
      out = narrow16<D>(blendArgb(d, widenRaw<S>(raw, nullptr), static_cast<int32_t>(255 - m)));
    }
    store16(destination, i, out);
  });
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

// Source pixels of the background colour keep the destination; the others are written, or blended
// over it below full blend. Through a 1-bit mask (the matte, drawn below full blend) a set bit
// keeps the destination too.
template <PixelFormat S, PixelFormat D, Sampling Steps, MaskKind M>
[[gnu::always_inline]] inline void backgroundTransparentTo16(const RowSpan& span, const PixelStage& stage) {
  const Row<Steps, S> r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  uint32_t compareMask;
  const uint32_t key = transparentRaw<S>(stage, compareMask);
  const int32_t level = stage.blend;
  r.forEach([&](int32_t i, int64_t column) {
    if constexpr (M == MaskKind::bits)
      if (rawPixel<indexed1>(r.mask, r.maskColumn(i))) return;
    const uint32_t raw = rawPixel<S>(r.source, column);
    if ((raw & compareMask) == key) return;
    if (level == 255) {
      store16(destination, i, to16<S, D>(raw));
      return;
    }
    const uint32_t d = widen16<D>(load16(destination, i));
    store16(destination, i, narrow16<D>(blendColour(d, widenRaw<S>(raw, nullptr), level)));
  });
}

template <PixelFormat S, PixelFormat D, Sampling Steps>
[[gnu::always_inline]] inline void thresholdTo16(const RowSpan& span, const PixelStage& stage) {
  const Row<Steps, S> r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  const uint32_t threshold = stage.threshold;
  r.forEach([&](int32_t i, int64_t column) {
    if (r.mask[r.maskColumn(i)] <= threshold) store16(destination, i, to16<S, D>(rawPixel<S>(r.source, column)));
  });
}

// A partial blend of the whole source over the destination; through a mask (the matte of a
// sprite drawn below full blend) the mask value then weighs the blend over the destination.
template <PixelFormat S, PixelFormat D, Sampling Steps, MaskKind M>
[[gnu::always_inline]] inline void blendTo16(const RowSpan& span, const PixelStage& stage) {
  const Row<Steps, S> r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  const int32_t level = stage.blend;
  r.forEach([&](int32_t i, int64_t column) {
    uint32_t m = 0;
    if constexpr (M == MaskKind::bits) m = rawPixel<indexed1>(r.mask, r.maskColumn(i)) ? 255 : 0;
    else if constexpr (M == MaskKind::bytes) m = r.mask[r.maskColumn(i)];
    if (m == 255) return;
    const uint32_t s = widenRaw<S>(rawPixel<S>(r.source, column), nullptr);
    const uint32_t d = widen16<D>(load16(destination, i));
    uint32_t out = blendColour(d, s, level);
    if (m != 0) out = blendArgb(d, out, static_cast<int32_t>(255 - m));
    store16(destination, i, narrow16<D>(out));
  });
}

// A 32-bit source with alpha: 255 writes, 0 keeps, anything between weighs the source over d.
// With a partial blend the source is first blended over d, keeping its alpha.
template <PixelFormat D, Sampling Steps, bool Blended>
[[gnu::always_inline]] inline void alphaTo16(const RowSpan& span, const PixelStage& stage) {
  const Row<Steps> r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  const int32_t level = stage.blend;
  r.forEach([&](int32_t i, int64_t column) {
    const uint32_t s = load32(r.source, column);
    const uint32_t a = alphaOf(s);
    const uint32_t d = load16(destination, i);
    const uint32_t wide = widen16<D>(d);
    const uint32_t over = Blended ? blendColour(wide, s, level) : s;
    const uint32_t mixed = narrow16<D>(blendColour(wide, over, static_cast<int32_t>(a)));
    store16(destination, i, static_cast<uint16_t>(a == 255 ? narrow16<D>(over) : a == 0 ? d : mixed));
  });
}

// One source colour over the whole span, weighed by the one mask value (0 writes it, 255 keeps
// the destination), copied or blended as the ink says.
template <PixelFormat S, PixelFormat D, MaskKind M>
[[gnu::always_inline]] inline void solidTo16(const RowSpan& span, const PixelStage& stage) {
  const Row r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  uint32_t m = 0;
  if constexpr (M == MaskKind::bits) m = rawPixel<indexed1>(r.mask, r.maskColumn(0)) ? 255 : 0;
  else if constexpr (M == MaskKind::bytes) m = r.mask[r.maskColumn(0)];
  if (m == 255) return;
  const uint32_t raw = rawPixel<S>(r.source, r.column(0));
  const uint32_t s = widenRaw<S>(raw, nullptr);
  const bool blends = stage.op == InkOp::blend;
  if (!blends && m == 0) {
    const uint16_t solid = to16<S, D>(raw);
    for (int32_t i = 0; i < r.count; ++i) store16(destination, i, solid);
    return;
  }
  const int32_t level = stage.blend;
  for (int32_t i = 0; i < r.count; ++i) {
    const uint32_t d = widen16<D>(load16(destination, i));
    uint32_t out = blends ? blendColour(d, s, level) : s;
    if (m != 0) out = blendArgb(d, out, static_cast<int32_t>(255 - m));
    store16(destination, i, narrow16<D>(out));
  }
}

// An 8-bit coverage source drawn in the foreground colour.
template <PixelFormat D, Sampling Steps>
[[gnu::always_inline]] inline void coverageTo16(const RowSpan& span, const PixelStage& stage) {
  const Row<Steps, indexed8> r(span);
  uint8_t* destination = r.destination + 2 * int64_t{span.x};
  const uint32_t fore = kOpaque | stage.fore;
  const uint16_t solid = narrow16<D>(fore);
  r.forEach([&](int32_t i, int64_t column) {
    const uint32_t c = r.source[column];
    if (c == 255) return;
    uint16_t out = solid;
    if (c != 0) out = narrow16<D>(blendArgb(widen16<D>(load16(destination, i)), fore, static_cast<int32_t>(255 - c)));
    store16(destination, i, out);
  });
}

// ---- 8-bit destinations sharing the source's palette ----

[[gnu::always_inline]] inline void bitMaskedIndexed(const RowSpan& span, const PixelStage&) {
  const Row r(span);
  uint8_t* destination = r.destination + span.x;
  for (int32_t i = 0; i < r.count; ++i)
    if (!rawPixel<indexed1>(r.mask, r.maskColumn(i))) destination[i] = r.source[r.column(i)];
}

[[gnu::always_inline]] inline void backgroundTransparentIndexed(const RowSpan& span, const PixelStage& stage) {
  const Row r(span);
  uint8_t* destination = r.destination + span.x;
  for (int32_t i = 0; i < r.count; ++i) {
    const uint8_t index = r.source[r.column(i)];
    if ((stage.sourceLookup[index] & kColourBits) != stage.transparentKey) destination[i] = index;
  }
}

// ---- the table ----

struct FastPath {
  Sampling sampling;  // stepped paths take any step; unit and doubled ones only their own
  PixelFormat source;
  PixelFormat destination;
  InkOp op;
  WriteRule rule;
  MaskKind mask;
  bool samePalette;  // required: the source and destination share their palette object
  RowFunction row;
  bool anyBlend = false;  // the row blends as the stage says; other paths take full blend only
};

using enum InkOp;
using enum WriteRule;
using enum MaskKind;

template <class T, size_t... N>
constexpr auto joined(const std::array<T, N>&... parts) {
  std::array<T, (N + ...)> all{};
  size_t at = 0;
  ((std::copy(parts.begin(), parts.end(), all.begin() + at), at += N), ...);
  return all;
}

// Every path a 16-bit destination has for one source format and sampling.
template <PixelFormat S, PixelFormat D, Sampling Steps>
constexpr RowFunction copyRowTo16() {
  if constexpr (Steps == Sampling::unit && S == D && D == rgb565) return &copyBytes<rgb565>;
  else if constexpr (Steps == Sampling::unit && S == D) return &eachRow<&copy555>;
  else return &eachRow<&copyTo16<S, D, Steps>>;
}

template <PixelFormat S, PixelFormat D, Sampling Steps>
constexpr std::array<FastPath, 9> sixteenBitPaths() {
  return {{{Steps, S, D, source, store, none, false, copyRowTo16<S, D, Steps>()},
           {Steps, S, D, source, WriteRule::mask, bits, false, &eachRow<&bitMaskedTo16<S, D, Steps>>},
           {Steps, S, D, source, WriteRule::mask, bytes, false, &eachRow<&byteMaskedTo16<S, D, Steps>>},
           {Steps, S, D, backgroundTransparent, store, none, false,
            &eachRow<&backgroundTransparentTo16<S, D, Steps, none>>, true},
           {Steps, S, D, backgroundTransparent, WriteRule::mask, bits, false,
            &eachRow<&backgroundTransparentTo16<S, D, Steps, bits>>, true},
           {Steps, S, D, maskThreshold, store, bytes, false, &eachRow<&thresholdTo16<S, D, Steps>>},
           {Steps, S, D, blend, store, none, false, &eachRow<&blendTo16<S, D, Steps, none>>, true},
           {Steps, S, D, blend, WriteRule::mask, bits, false, &eachRow<&blendTo16<S, D, Steps, bits>>, true},
           {Steps, S, D, blend, WriteRule::mask, bytes, false, &eachRow<&blendTo16<S, D, Steps, bytes>>, true}}};
}

// The solid paths of one source format into a 16-bit destination: copies and blends, with or
// without a mask.
template <PixelFormat S, PixelFormat D>
constexpr std::array<FastPath, 6> solidPaths() {
  using enum Sampling;
  return {{{solid, S, D, source, store, none, false, &eachRow<&solidTo16<S, D, none>>},
           {solid, S, D, source, WriteRule::mask, bits, false, &eachRow<&solidTo16<S, D, bits>>},
           {solid, S, D, source, WriteRule::mask, bytes, false, &eachRow<&solidTo16<S, D, bytes>>},
           {solid, S, D, blend, store, none, false, &eachRow<&solidTo16<S, D, none>>, true},
           {solid, S, D, blend, WriteRule::mask, bits, false, &eachRow<&solidTo16<S, D, bits>>, true},
           {solid, S, D, blend, WriteRule::mask, bytes, false, &eachRow<&solidTo16<S, D, bytes>>, true}}};
}

// The paths of 32-bit alpha sources and 8-bit coverage sources into a 16-bit destination.
template <PixelFormat D, Sampling Steps>
constexpr std::array<FastPath, 3> alphaAndCoveragePaths() {
  return {{{Steps, argb8888, D, source, sourceAlpha, none, false, &eachRow<&alphaTo16<D, Steps, false>>},
           {Steps, argb8888, D, blend, sourceAlpha, none, false, &eachRow<&alphaTo16<D, Steps, true>>, true},
           {Steps, indexed8, D, source, coverage, none, false, &eachRow<&coverageTo16<D, Steps>>}}};
}

// Every 16-bit path of one sampling.
template <Sampling Steps>
constexpr auto allSixteenBitPaths() {
  return joined(sixteenBitPaths<rgb565, rgb565, Steps>(), sixteenBitPaths<rgb555, rgb565, Steps>(),
                sixteenBitPaths<rgb888, rgb565, Steps>(), sixteenBitPaths<argb8888, rgb565, Steps>(),
                sixteenBitPaths<rgb565, rgb555, Steps>(), sixteenBitPaths<rgb555, rgb555, Steps>(),
                sixteenBitPaths<rgb888, rgb555, Steps>(), sixteenBitPaths<argb8888, rgb555, Steps>(),
                alphaAndCoveragePaths<rgb565, Steps>(), alphaAndCoveragePaths<rgb555, Steps>());
}

// Searched in order; the first entry that matches wins, so unscaled and doubled paths come
// before the stepped ones that would cover them as well. (Same-format 16-bit copies are among the
// 16-bit paths.)
using enum Sampling;
constexpr std::array<FastPath, 5> kSameFormatPaths = {{
    {unit, rgb888, rgb888, source, store, none, false, &copyBytes<rgb888>},
    {unit, argb8888, argb8888, source, store, none, false, &copyBytes<argb8888>},
    {unit, indexed8, indexed8, source, store, none, true, &copyBytes<indexed8>},
    {unit, indexed8, indexed8, source, WriteRule::mask, bits, true, &eachRow<&bitMaskedIndexed>},
    {unit, indexed8, indexed8, backgroundTransparent, store, none, true, &eachRow<&backgroundTransparentIndexed>},
}};

constexpr auto kFastPaths =
    joined(kSameFormatPaths, solidPaths<rgb565, rgb565>(), solidPaths<rgb555, rgb565>(), solidPaths<rgb888, rgb565>(),
           solidPaths<argb8888, rgb565>(), solidPaths<rgb565, rgb555>(), solidPaths<rgb555, rgb555>(),
           solidPaths<rgb888, rgb555>(), solidPaths<argb8888, rgb555>(), allSixteenBitPaths<unit>(),
           allSixteenBitPaths<doubled>(), allSixteenBitPaths<stepped>());

bool matches(const FastPath& path, const PixelStage& stage, Sampling sampling) {
  const MaskKind mask = maskNeeded(stage) ? stage.maskKind : none;
  const bool sampled = path.sampling == sampling || (path.sampling == stepped && sampling != solid);
  return sampled && (stage.blend == 255 || path.anyBlend) && path.source == stage.source &&
         path.destination == stage.destination && path.op == stage.op && path.rule == stage.rule &&
         path.mask == mask && (!path.samePalette || stage.samePalette);
}

RowFunction find(const PixelStage& stage, Sampling sampling) {
  for (const FastPath& path : kFastPaths)
    if (matches(path, stage, sampling)) return path.row;
  return nullptr;
}

}  // namespace

RowFunction findFastPath(const PixelStage& stage, int64_t stepAcross, int64_t stepDown, bool oneSourcePixel) {
  if (!enabled) return nullptr;
  if (oneSourcePixel)
    if (RowFunction row = find(stage, solid)) return row;
  constexpr int64_t kOne = 0x10000, kHalf = 0x8000;  // 16.16
  return find(stage, stepAcross == kOne && stepDown == kOne ? unit : stepAcross == kHalf ? doubled : stepped);
}

void setFastPathsEnabled(bool on) { enabled = on; }
bool fastPathsEnabled() { return enabled; }

}  // namespace qn
