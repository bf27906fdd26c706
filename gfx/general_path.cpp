// The general path of the pixel stage: sample the source row into working colours, read the
// destination row when the ink or the write-back needs it, apply the ink formula, write back.
// Slower than the fast paths but complete; the fast paths are checked against it.
#include <array>
#include <utility>
#include <vector>

#include "gfx/ink.h"
#include "gfx/ink_formulas.h"
#include "gfx/pixel_access.h"
#include "gfx/pixel_stage.h"
#include "gfx/row_loop.h"

namespace qn {

using enum InkOp;

InkOp inkOpOf(int32_t inkNumber) {
  switch (inkNumber) {
    case ink::transparent: return transparent;
    case ink::reverse: return reverse;
    case ink::ghost: return ghost;
    case ink::notCopy: return notCopy;
    case ink::notTrans: return notTrans;
    case ink::notReverse: return notReverse;
    case ink::notGhost: return notGhost;
    case ink::blend: return blend;
    case ink::addPin: return addPin;
    case ink::add: return add;
    case ink::subPin: return subPin;
    case ink::backgroundTransparent: return backgroundTransparent;
    case ink::lightest: return lightest;
    case ink::sub: return sub;
    case ink::darkest: return darkest;
    case ink::lighten: return lighten;
    case ink::darken: return darken;
    case ink::colourRemap: return colourRemap;
    case ink::alphaFromMask: return alphaFromMask;
    case ink::maskThreshold: return maskThreshold;
    default: return source;  // copy, matte, mask, ink 50 and unknown numbers
  }
}

bool inkOpReadsDestination(InkOp op) {
  return op != source && op != notCopy && op != colourRemap && op != alphaFromMask;
}

bool destinationNeeded(const PixelStage& stage) {
  return inkOpReadsDestination(stage.op) || stage.rule != WriteRule::store;
}

bool maskNeeded(const PixelStage& stage) {
  return stage.rule == WriteRule::mask || stage.op == alphaFromMask || stage.op == maskThreshold;
}

namespace {

// ---- sampling ----

template <PixelFormat F>
QN_ROW_LOOP
void sampleRow(const uint8_t* row, int64_t position, int64_t step, int32_t count, const uint32_t* lookup,
               uint32_t* colours, uint8_t* raw) {
  for (int32_t i = 0; i < count; ++i, position += step) {
    const uint32_t value = rawPixel<F>(row, position >> 16);
    if constexpr (isIndexed(F)) raw[i] = static_cast<uint8_t>(value);
    colours[i] = widenRaw<F>(value, lookup);
  }
}

template <size_t... I>
constexpr std::array<SampleFunction, kPixelFormatCount> makeSamplers(std::index_sequence<I...>) {
  return {&sampleRow<static_cast<PixelFormat>(I)>...};
}
constexpr auto kSamplers = makeSamplers(std::make_index_sequence<kPixelFormatCount>());

// ---- ink formulas over a row ----

using InkRowFunction = void (*)(uint32_t* result, const uint32_t* destination, const uint32_t* colours,
                                const uint8_t* mask, int32_t count, const PixelStage& stage);

template <InkOp Op>
QN_ROW_LOOP
void inkRow(uint32_t* result, const uint32_t* destination, const uint32_t* colours, const uint8_t* mask,
            int32_t count, const PixelStage& stage) {
  for (int32_t i = 0; i < count; ++i)
    result[i] = combine<Op>(destination[i], colours[i], mask ? mask[i] : 0u, stage);
}

template <size_t... I>
constexpr std::array<InkRowFunction, kInkOpCount> makeInkRows(std::index_sequence<I...>) {
  return {&inkRow<static_cast<InkOp>(I)>...};
}
constexpr auto kInkRows = makeInkRows(std::make_index_sequence<kInkOpCount>());
static_assert(static_cast<int>(InkOp::maskThreshold) + 1 == kInkOpCount, "the ink row table parallels InkOp");

// ---- write-back ----

using WriteBackFunction = void (*)(uint8_t* row, int32_t x, const uint32_t* result, const uint32_t* destination,
                                   const SampledSpan& sampled, const PixelStage& stage);

template <PixelFormat D, WriteRule R>
QN_ROW_LOOP
void writeBack(uint8_t* row, int32_t x, const uint32_t* result, const uint32_t* destination,
               const SampledSpan& sampled, const PixelStage& stage) {
  const uint32_t fore = kOpaque | stage.fore;
  const bool keepIndices = isIndexed(D) && stage.samePalette && sampled.raw;
  const bool readsDestination = destinationNeeded(stage);
  for (int32_t i = 0; i < sampled.count; ++i) {
    uint32_t f = result[i];
    if constexpr (R == WriteRule::sourceAlpha) {
      const uint32_t a = alphaOf(f);
      if (a == 0) continue;
      if (a != 255) f = (a << 24) | (blendColour(destination[i], f, static_cast<int32_t>(a)) & kColourBits);
    } else if constexpr (R == WriteRule::coverage) {
      const uint32_t c = sampled.raw[i];
      if (c == 255) continue;
      f = c == 0 ? fore : blendArgb(destination[i], fore, static_cast<int32_t>(255 - c));
    } else if constexpr (R == WriteRule::mask) {
      const uint32_t m = sampled.mask[i];
      if (m == 255) continue;
      if (m != 0) f = blendArgb(destination[i], f, static_cast<int32_t>(255 - m));
    }
    uint32_t raw;
    if constexpr (isIndexed(D)) {
      // Palette destinations keep indices where the colour is already right: a pixel the ink left
      // alone stays, and a source pixel of the same palette is copied as its index.
      if (readsDestination && f == destination[i]) continue;
    }
    if (keepIndices && f == sampled.colours[i]) raw = sampled.raw[i];
    else raw = narrowColour<D>(f, stage.destinationInverse);
    writeRaw<D>(row, static_cast<int64_t>(x) + i, raw);
  }
}

constexpr int kWriteRuleCount = 4;
using WriteBackRow = std::array<WriteBackFunction, kWriteRuleCount>;

template <PixelFormat D>
constexpr WriteBackRow writeBacksFor() {
  constexpr bool blends = D == PixelFormat::rgb555 || D == PixelFormat::rgb565 || D == PixelFormat::indexed8 ||
                          D == PixelFormat::argb8888;
  constexpr bool stores = blends || D == PixelFormat::rgb888;
  if constexpr (!stores) return {nullptr, nullptr, nullptr, nullptr};
  else if constexpr (!blends) return {&writeBack<D, WriteRule::store>, nullptr, nullptr, nullptr};
  else
    return {&writeBack<D, WriteRule::store>, &writeBack<D, WriteRule::sourceAlpha>, &writeBack<D, WriteRule::coverage>,
            &writeBack<D, WriteRule::mask>};
}

template <size_t... I>
constexpr std::array<WriteBackRow, kPixelFormatCount> makeWriteBacks(std::index_sequence<I...>) {
  return {writeBacksFor<static_cast<PixelFormat>(I)>()...};
}
constexpr auto kWriteBacks = makeWriteBacks(std::make_index_sequence<kPixelFormatCount>());
static_assert(static_cast<int>(WriteRule::mask) + 1 == kWriteRuleCount, "the write-back table parallels WriteRule");

WriteBackFunction writeBackFor(const PixelStage& stage) {
  return kWriteBacks[static_cast<int>(stage.destination)][static_cast<int>(stage.rule)];
}

template <PixelFormat D>
QN_ROW_LOOP
void readDestinationRow(const uint8_t* row, int32_t x, int32_t count, const uint32_t* lookup, uint32_t* out) {
  for (int32_t i = 0; i < count; ++i) out[i] = readPixel<D>(row, static_cast<int64_t>(x) + i, lookup);
}
template <size_t... I>
constexpr auto makeDestinationReaders(std::index_sequence<I...>) {
  using Reader = void (*)(const uint8_t*, int32_t, int32_t, const uint32_t*, uint32_t*);
  return std::array<Reader, kPixelFormatCount>{&readDestinationRow<static_cast<PixelFormat>(I)>...};
}
constexpr auto kDestinationReaders = makeDestinationReaders(std::make_index_sequence<kPixelFormatCount>());

}  // namespace

SampleFunction sampler(PixelFormat format) { return kSamplers[static_cast<int>(format)]; }

uint8_t readMaskValue(PixelFormat maskFormat, const uint8_t* row, int64_t x) {
  if (maskFormat == PixelFormat::indexed1) return rawPixel<PixelFormat::indexed1>(row, x) ? 255 : 0;
  return row[x];
}

bool writeBackExists(const PixelStage& stage) { return writeBackFor(stage) != nullptr; }

ScratchRows scratchRows(int32_t width) {
  thread_local std::vector<uint32_t> words;
  thread_local std::vector<uint8_t> bytes;
  const size_t n = static_cast<size_t>(std::max(width, 1));
  if (words.size() < 3 * n) words.resize(3 * n);
  if (bytes.size() < 2 * n) bytes.resize(2 * n);
  const size_t wordRow = words.size() / 3;
  const size_t byteRow = bytes.size() / 2;
  return {words.data(), bytes.data(), bytes.data() + byteRow, words.data() + wordRow, words.data() + 2 * wordRow};
}

void combineSampled(uint8_t* destinationRow, int32_t x, const SampledSpan& sampled, const PixelStage& stage) {
  const ScratchRows scratch = scratchRows(sampled.count);
  if (destinationNeeded(stage))
    kDestinationReaders[static_cast<int>(stage.destination)](destinationRow, x, sampled.count,
                                                              stage.destinationLookup, scratch.destination);
  kInkRows[static_cast<int>(stage.op)](scratch.result, scratch.destination, sampled.colours, sampled.mask,
                                       sampled.count, stage);
  writeBackFor(stage)(destinationRow, x, scratch.result, scratch.destination, sampled, stage);
}

void generalRow(const RowSpan& block, const PixelStage& stage) {
  const ScratchRows scratch = scratchRows(block.count);
  const bool indexed = isIndexed(stage.source);
  RowSpan span = block;
  for (int32_t y = 0; y < block.rows; ++y, span.nextRow()) {
    sampler(stage.source)(span.source, span.sourceX, span.stepX, span.count, stage.sourceLookup, scratch.colours,
                          indexed ? scratch.raw : nullptr);
    const uint8_t* mask = nullptr;
    if (span.mask) {
      int64_t position = span.maskX;
      for (int32_t i = 0; i < span.count; ++i, position += span.stepX)
        scratch.mask[i] = readMaskValue(stage.maskFormat, span.mask, position >> 16);
      mask = scratch.mask;
    }
    combineSampled(span.destination, span.x, {scratch.colours, indexed ? scratch.raw : nullptr, mask, span.count},
                   stage);
  }
}

}  // namespace qn
