#include "gfx/ink.h"

#include <array>
#include <utility>

namespace qn {

int32_t inkOfSymbol(SymbolNumber symbol) {
  static constexpr std::array<std::pair<SymbolNumber, int32_t>, 20> kInks = {{
      {sym::copy, ink::copy},
      {sym::transparent, ink::transparent},
      {sym::reverse, ink::reverse},
      {sym::ghost, ink::ghost},
      {sym::notCopy, ink::notCopy},
      {sym::notTrans, ink::notTrans},
      {sym::notReverse, ink::notReverse},
      {sym::notGhost, ink::notGhost},
      {sym::matte, ink::matte},
      {sym::mask, ink::mask},
      {sym::blend, ink::blend},
      {sym::addPin, ink::addPin},
      {sym::add, ink::add},
      {sym::subPin, ink::subPin},
      {sym::backgroundTransparent, ink::backgroundTransparent},
      {sym::lightest, ink::lightest},
      {sym::sub, ink::sub},
      {sym::darkest, ink::darkest},
      {sym::lighten, ink::lighten},
      {sym::darken, ink::darken},
  }};
  for (const auto& [name, number] : kInks)
    if (name == symbol) return number;
  return -1;
}

}  // namespace qn
