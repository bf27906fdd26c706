// The built-in vocabulary: symbol numbers 100 to 363, fixed because the compiled movie is built
// against them. Types (100 to 123) double as the `ilk` of script objects. 364 stays unused; the
// compiled movie numbers its own names from 365 on.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace qn {

// The number a symbol has in the process's symbol table: what handlers switch on.
using SymbolNumber = int32_t;

// A named symbol constant (`sym::locH`, the game's `s::mode`). It compares and switches like its
// number, but a Value made from it is the symbol itself, never the integer: `Value(s::rollBall)`
// is #rollBall, so `mode == s::waitstart` compares two symbols.
struct Symbol {
  SymbolNumber number;
  constexpr operator SymbolNumber() const { return number; }
  friend constexpr bool operator==(Symbol, Symbol) = default;
};

// A constant's name as scripts spell it: identifiers that would clash with C++ keywords carry a
// trailing underscore (`new_`, `char_`), their names do not.
constexpr std::string_view symbolText(std::string_view identifier) {
  return identifier.ends_with('_') ? identifier.substr(0, identifier.size() - 1) : identifier;
}

// The one list of the built-in names, in number order from 100. Everything else is made from it.
#define QN_BUILTIN_SYMBOLS(X) \
  X(void_) X(integer) X(float_) X(string) X(point) X(image) X(list) X(propList) X(color) \
  X(symbol) X(sprite) X(window) X(movie) X(instance) X(timeOut) X(intImage) X(intSprite) \
  X(intMember) X(sound) X(script) X(shape) X(text) X(bitmap) X(field) X(put) X(locH) X(locV) \
  X(locZ) X(width) X(height) X(loc) X(rect) X(top) X(left) X(bottom) X(right) X(stretch) X(ink) \
  X(castLibNum) X(memberNum) X(blendLevel) X(blend) X(bgColor) X(rotation) X(skew) X(flipH) \
  X(flipV) X(lineSize) X(puppet) X(startFrame) X(endFrame) X(channel) X(visible) X(member) \
  X(scriptInstanceList) X(intersects) X(within) X(add) X(addAt) X(addProp) X(append) X(count) \
  X(deleteAll) X(deleteAt) X(deleteOne) X(deleteProp) X(duplicate) X(findPos) X(findPosNear) \
  X(getAProp) X(getAt) X(getLast) X(getOne) X(getPos) X(getProp) X(getPropAt) X(ilk) X(listP) \
  X(setAt) X(setProp) X(setAProp) X(sort) X(compare) X(prepareMovie) X(startMovie) X(stopMovie) \
  X(enterFrame) X(exitFrame) X(beginSprite) X(endSprite) X(prepareFrame) X(mouseDown) X(mouseUp) \
  X(mouseUpOutside) X(mouseEnter) X(mouseLeave) X(mouseWithin) X(keyDown) X(keyUp) X(idle) \
  X(new_) X(crop) X(draw) X(fill) X(floodFill) X(getPixel) X(setPixel) X(trimWhiteSpace) \
  X(extractAlpha) X(setAlpha) X(copyPixels) X(createMatte) X(createMask) X(concat) X(contains) \
  X(starts) X(putAfter) X(putBefore) X(preload) X(unload) X(type) X(name) X(loaded) X(empty) \
  X(subtract) X(multiply) X(divide) X(mod) X(min_) X(max_) X(rgb) X(number) X(actorList) \
  X(stepFrame) X(time) X(forget) X(timeOutHandler) X(period) X(target) X(persistent) \
  X(scriptType) X(score) X(parent) X(paletteIndex) X(red) X(green) X(blue) X(colorType) \
  X(hexString) X(depth) X(sendAllSprites) X(sendSprite) X(spriteNum) X(useAlpha) X(shapeType) \
  X(roundRect) X(oval) X(line) X(dither) X(useFastQuads) X(maskOffset) X(maskImage) X(copy) \
  X(transparent) X(reverse) X(ghost) X(notCopy) X(notTrans) X(notReverse) X(notGhost) X(matte) \
  X(mask) X(addPin) X(backgroundTransparent) X(subPin) X(sub) X(lightest) X(darkest) X(lighten) \
  X(darken) X(modified) X(intersect) X(offset) X(map) X(inflate) X(inside) X(union_) \
  X(currentSpriteNum) X(stage) X(mouseLoc) X(rollover) X(preloadMember) X(unloadMember) \
  X(systemMac) X(systemWin) X(web216) X(grayscale) X(call) X(char_) X(chars) X(length) \
  X(lineCount) X(lineHeight) X(scrollTop) X(version) X(idleHandlerPeriod) X(rolloverPeriod) \
  X(font) X(fontSize) X(fontStyle) X(start) X(rowOffset) X(lock) X(unlock) X(randomSeed) X(word) \
  X(item) X(itemDelimiter) X(itemCount) X(wordCount) X(charCount) X(lastLine) X(lastChar) \
  X(lastWord) X(lastItem) X(regPoint) X(getChunk) X(setChunk) X(delChunk) X(putAfterChunk) \
  X(putBeforeChunk) X(alignment) X(wordWrap) X(exitLock) X(menu) X(filename) X(timer) X(url) \
  X(state) X(bytesSoFar) X(bytesTotal) X(error) X(floatPrecision) X(flash) X(quad) X(intList) \
  X(next) X(previous) X(loop) X(dynamic) X(mapStageToMember) X(mapMemberToStage) X(colorDepth) \
  X(internetConnected) X(online) X(offline) X(unknown) X(runMode) X(platform) \
  X(deactiveApplication) X(activateApplication) X(appMinimize) X(qnTransition) X(size)

// QN_DEFINE_SYMBOLS(LIST, FIRST) defines, in the namespace where it stands, a Symbol constant for
// each name of an X-macro LIST, numbered consecutively from FIRST; QN_SYMBOL_NAMES(LIST) is the
// initialiser of the matching name table.
#define QN_SYMBOL_NUMBER_(name) name,
#define QN_SYMBOL_CONSTANT_(name) inline constexpr ::qn::Symbol name{ordinal::name};
#define QN_SYMBOL_TEXT_(name) ::qn::symbolText(#name),
#define QN_DEFINE_SYMBOLS(LIST, FIRST)                                                        \
  namespace ordinal {                                                                      \
  enum : ::qn::SymbolNumber { beforeFirst = (FIRST) - 1, LIST(QN_SYMBOL_NUMBER_) };         \
  }                                                                                        \
  LIST(QN_SYMBOL_CONSTANT_)
#define QN_SYMBOL_NAMES(LIST) {LIST(QN_SYMBOL_TEXT_)}

namespace sym {

QN_DEFINE_SYMBOLS(QN_BUILTIN_SYMBOLS, 100)

inline constexpr SymbolNumber firstBuiltin = void_;
inline constexpr SymbolNumber lastBuiltin = size;
inline constexpr SymbolNumber unused = 364;
inline constexpr SymbolNumber firstMovieSymbol = 365;

}  // namespace sym

// Names of the built-in symbols, indexed by number - sym::firstBuiltin.
inline constexpr std::array<std::string_view, sym::lastBuiltin - sym::firstBuiltin + 1> builtinSymbolNames =
    QN_SYMBOL_NAMES(QN_BUILTIN_SYMBOLS);

constexpr std::string_view builtinSymbolName(SymbolNumber number) {
  return builtinSymbolNames[static_cast<size_t>(number - sym::firstBuiltin)];
}

// The numbers the compiled movie was built against.
static_assert(sym::void_ == 100 && builtinSymbolName(sym::void_) == "void");
static_assert(sym::field == 123 && sym::size == 363 && builtinSymbolName(sym::union_) == "union");

}  // namespace qn
