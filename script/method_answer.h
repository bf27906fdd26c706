#pragma once

#include <utility>

#include "script/value.h"

namespace qn {

// How lists, property lists and strings answer a method: their dispatch writes into a local
// answer that starts as the class's starting value (integer 0 for lists and strings, 1 for
// property lists), and the answer goes into `result` only at the end, because the caller's
// result may be one of the arguments, or the only holder of the receiver.
template <class Receiver>
bool answerMethod(Receiver& receiver, bool (Receiver::*dispatch)(SymbolNumber, int, Value&, Value* const*),
                  const Value& start, SymbolNumber method, int argc, Value& result, Value* const* argv) {
  Value answer = start;
  bool handled = (receiver.*dispatch)(method, argc, answer, argv);
  result = std::move(answer);
  return handled;
}

}  // namespace qn
