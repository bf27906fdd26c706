// Ink numbers: how a drawn pixel combines with the one under it. Scripts name the public inks by
// symbol; 50 to 53 are used only inside the runtime.
#pragma once

#include <cstdint>

#include "script/symbols.h"

namespace qn {

namespace ink {
enum : int32_t {
  copy = 0,
  transparent = 1,
  reverse = 2,
  ghost = 3,
  notCopy = 4,
  notTrans = 5,
  notReverse = 6,
  notGhost = 7,
  matte = 8,
  mask = 9,
  blend = 32,
  addPin = 33,
  add = 34,
  subPin = 35,
  backgroundTransparent = 36,
  lightest = 37,
  sub = 38,
  darkest = 39,
  lighten = 40,
  darken = 41,
  coverage = 50,       // an 8-bit coverage image drawn in the foreground colour (text)
  colourRemap = 51,    // copy with foreground and background colour remap
  alphaFromMask = 52,  // copy the colour, take alpha from an 8-bit mask (bitmap loading)
  maskThreshold = 53,  // copy where the 8-bit mask is at most the low byte of bg
};
}  // namespace ink

// The ink a symbol names (`blend` gives 32, `add` 34), or -1 for a symbol that names none.
int32_t inkOfSymbol(SymbolNumber symbol);

}  // namespace qn
