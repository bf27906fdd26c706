// How a compiled script class runs one of its handlers: `me` is argv[0], the declared parameters
// follow; missing arguments arrive as void, surplus ones are ignored. Each argument is a shared
// copy, so a handler can neither lose nor replace the caller's values.
//
//   case sym::mouseUp: return runHandler(&Button::mouseUp, *this, argc, argv, result);
#pragma once

#include <utility>

#include "script/value.h"

namespace qn {

// Argument `index` of a call (counted from 0), or void when the caller gave fewer.
inline Value argumentOrVoid(int argc, Value* const* argv, int index) {
  return index < argc ? *argv[index] : Value();
}

namespace detail {

template <class Receiver, class... Params, size_t... Index>
Value runHandlerWith(Value (Receiver::*handler)(Params...), Receiver& receiver, [[maybe_unused]] int argc,
                     [[maybe_unused]] Value* const* argv, std::index_sequence<Index...>) {
  return (receiver.*handler)(argumentOrVoid(argc, argv, static_cast<int>(Index) + 1)...);
}
}  // namespace detail

// A handler is a member function taking its parameters (besides `me`) as Values and returning
// the handler's result. Always handled: returns true.
template <class Receiver, class... Params>
bool runHandler(Value (Receiver::*handler)(Params...), Receiver& receiver, int argc, Value* const* argv,
                Value& result) {
  result = detail::runHandlerWith(handler, receiver, argc, argv, std::index_sequence_for<Params...>{});
  return true;
}

}  // namespace qn
