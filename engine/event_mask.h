// The events a script class has handlers for, one bit per event. Sprites carry the union of their
// behaviours' masks so that hit testing and frame events can skip sprites that would not listen.
#pragma once

#include <array>
#include <cstdint>

#include "script/symbols.h"

namespace qn {

using EventMask = uint32_t;

namespace event {
inline constexpr EventMask beginSprite = 1;
inline constexpr EventMask endSprite = 2;
inline constexpr EventMask enterFrame = 4;
inline constexpr EventMask exitFrame = 8;
inline constexpr EventMask prepareFrame = 16;
inline constexpr EventMask mouseDown = 32;
inline constexpr EventMask mouseUp = 64;
inline constexpr EventMask mouseUpOutside = 128;
inline constexpr EventMask mouseEnter = 256;
inline constexpr EventMask mouseLeave = 512;
inline constexpr EventMask mouseWithin = 1024;
inline constexpr EventMask keyDown = 2048;
inline constexpr EventMask keyUp = 4096;
inline constexpr EventMask idle = 8192;
inline constexpr EventMask all = 0xFFFFFFFFu;

// The sprites the stylus can click, and the sprites that take rollover events.
inline constexpr EventMask clickable = mouseDown | mouseUp | mouseUpOutside;
inline constexpr EventMask rollover = mouseEnter | mouseLeave | mouseWithin;
}  // namespace event

// The event symbols in bit order: bit 1 << i is eventSymbols[i].
inline constexpr std::array<SymbolNumber, 14> eventSymbols = {
    sym::beginSprite, sym::endSprite,      sym::enterFrame, sym::exitFrame,  sym::prepareFrame,
    sym::mouseDown,   sym::mouseUp,        sym::mouseUpOutside, sym::mouseEnter, sym::mouseLeave,
    sym::mouseWithin, sym::keyDown,        sym::keyUp,      sym::idle};

// The symbol of a single event bit.
constexpr SymbolNumber eventSymbol(EventMask bit) {
  for (size_t i = 0; i < eventSymbols.size(); ++i)
    if (bit == (EventMask{1} << i)) return eventSymbols[i];
  return 0;
}

static_assert(eventSymbol(event::beginSprite) == sym::beginSprite);
static_assert(eventSymbol(event::prepareFrame) == sym::prepareFrame);
static_assert(eventSymbol(event::mouseWithin) == sym::mouseWithin);
static_assert(eventSymbol(event::idle) == sym::idle);

}  // namespace qn
