// The calls compiled handlers make, in the shape they are written:
//
//   Value Button::mouseUp() {
//     sendSprite(25, s::aim, 10);              // a handler of sprite 25's behaviours
//     sendAllSprites(s::reset);                // every sprite but the frame script
//     Value engine = global(sym::new_, scriptOf("Engine"));
//     callGlobal(*this, s::setupPlayers, engine, 4);  // target known only at run time
//     sprite(40).setIntProperty(sym::blendLevel, 255);
//     return Value();
//   }
//
// Arguments may be Values (passed by reference) or anything a Value is made from.
#pragma once

#include <cassert>
#include <utility>

#include "engine/movie.h"

namespace qn {

// The running movie. Handlers only run while it exists.
inline Movie& theMovie() {
  assert(Movie::current() != nullptr);
  return *Movie::current();
}

namespace detail {
template <class Run, class... Args>
Value withArguments(Run run, Args&&... args) {
  Value result;
  auto pack = [&](auto&&... refs) {
    Value* argv[] = {refs.get()..., nullptr};
    run(static_cast<int>(sizeof...(Args)), argv, result);
  };
  pack(ArgumentRef(std::forward<Args>(args))...);
  return result;
}
}  // namespace detail

// A global function or movie handler through the movie's `handle` (`put`, `min`, `new`, ...).
template <class... Args>
Value global(SymbolNumber method, Args&&... args) {
  return detail::withArguments(
      [&](int argc, Value* const* argv, Value& result) { theMovie().handle(method, argc, result, argv, false); },
      std::forward<Args>(args)...);
}

template <class... Args>
Value sendSprite(int32_t channel, SymbolNumber handler, Args&&... args) {
  return global(sym::sendSprite, channel, Value::symbol(handler), std::forward<Args>(args)...);
}

template <class... Args>
void sendAllSprites(SymbolNumber handler, Args&&... args) {
  global(sym::sendAllSprites, Value::symbol(handler), std::forward<Args>(args)...);
}

// `call(#handler, target, args)`: target an object or a list of them.
template <class... Args>
Value call(SymbolNumber handler, const Value& target, Args&&... args) {
  return global(sym::call, Value::symbol(handler), target, std::forward<Args>(args)...);
}

// A call whose receiver is known only at run time; `me` is the calling script's instance.
template <class... Args>
Value callGlobal(ScriptObject& me, SymbolNumber method, Args&&... args) {
  return detail::withArguments(
      [&](int argc, Value* const* argv, Value& result) { theMovie().callGlobal(me, result, method, argc, argv); },
      std::forward<Args>(args)...);
}

inline SpriteChannel& sprite(int32_t channel) { return theMovie().sprite(channel); }
inline Value scriptOf(const Value& memberOrName) { return theMovie().scriptOf(memberOrName); }
inline void goToFrame(const Value& target) { theMovie().goToFrame(target); }

}  // namespace qn
