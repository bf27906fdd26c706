// The per-pixel formula of every ink on working colours: d the destination, s the source, m the
// mask byte of the pixel. Unless a formula says otherwise the result's alpha is s's alpha.
#pragma once

#include <algorithm>
#include <cstdint>

#include "gfx/pixel_format.h"
#include "gfx/pixel_stage.h"

namespace qn {

inline constexpr uint32_t kAlphaBits = 0xFF000000u;

// Applies f to the blue, green and red channels of d and s; alpha from s.
template <class F>
inline uint32_t eachChannel(uint32_t d, uint32_t s, F f) {
  return (s & kAlphaBits) | (f(redOf(d), redOf(s)) << 16) | (f(greenOf(d), greenOf(s)) << 8) |
         f(blueOf(d), blueOf(s));
}

// The foreground / background colour formulas use the matching channels of fg and bg instead of d.
template <class F>
inline uint32_t eachChannelWithColours(uint32_t s, uint32_t fg, uint32_t bg, F f) {
  return (s & kAlphaBits) | (f(redOf(s), redOf(fg), redOf(bg)) << 16) |
         (f(greenOf(s), greenOf(fg), greenOf(bg)) << 8) | f(blueOf(s), blueOf(fg), blueOf(bg));
}

inline uint32_t blendOver(uint32_t d, uint32_t s, int32_t level) {
  return (s & kAlphaBits) | (blendColour(d, s, level) & kColourBits);
}

template <InkOp Op>
inline uint32_t combine(uint32_t d, uint32_t s, uint32_t m, const PixelStage& stage) {
  using enum InkOp;
  if constexpr (Op == source) return s;
  else if constexpr (Op == transparent) return ((d & s) & kColourBits) | (s & kAlphaBits);
  else if constexpr (Op == reverse) return ((d ^ ~s) & kColourBits) | (s & kAlphaBits);
  else if constexpr (Op == ghost) return ((d | ~s) & kColourBits) | (s & kAlphaBits);
  else if constexpr (Op == notCopy) return s ^ kColourBits;
  else if constexpr (Op == notTrans) return ((d & ~s) & kColourBits) | (s & kAlphaBits);
  else if constexpr (Op == notReverse) return ((d ^ s) & kColourBits) | (s & kAlphaBits);
  else if constexpr (Op == notGhost) return ((d | s) & kColourBits) | (s & kAlphaBits);
  else if constexpr (Op == blend) return blendOver(d, s, stage.blend);
  else if constexpr (Op == addPin) return eachChannel(d, s, [](uint32_t a, uint32_t b) { return std::min(a + b, 255u); });
  else if constexpr (Op == add) return eachChannel(d, s, [](uint32_t a, uint32_t b) { return (a + b) & 255u; });
  else if constexpr (Op == subPin) return eachChannel(d, s, [](uint32_t a, uint32_t b) { return a > b ? a - b : 0u; });
  else if constexpr (Op == sub) return eachChannel(d, s, [](uint32_t a, uint32_t b) { return (a - b) & 255u; });
  else if constexpr (Op == lightest) return eachChannel(d, s, [](uint32_t a, uint32_t b) { return std::max(a, b); });
  else if constexpr (Op == darkest) return eachChannel(d, s, [](uint32_t a, uint32_t b) { return std::min(a, b); });
  else if constexpr (Op == backgroundTransparent) {
    if ((s & kColourBits) == stage.transparentKey) return d;
    return stage.blend == 255 ? s : blendOver(d, s, stage.blend);
  } else if constexpr (Op == lighten) {
    return eachChannelWithColours(s, stage.fore, stage.back, [](uint32_t c, uint32_t fg, uint32_t bg) {
      return std::min(255u, fg + 256 - bg + (c * bg >> 8));
    });
  } else if constexpr (Op == darken) {
    return eachChannelWithColours(s, stage.fore, stage.back,
                                  [](uint32_t c, uint32_t fg, uint32_t bg) { return std::min(255u, fg + (c * bg >> 8)); });
  } else if constexpr (Op == colourRemap) {
    return ((stage.fore & ~s) | (stage.back & s)) & kColourBits;
  } else if constexpr (Op == alphaFromMask) {
    return (s & kColourBits) | ((255 - m) << 24);
  } else {
    static_assert(Op == maskThreshold);
    return m <= stage.threshold ? s : d;
  }
}

}  // namespace qn
