// Calling a handler with one leading argument in front of the caller's arguments: `me` for
// behaviours and script objects, a sprite reference for methods called on a sprite.
#pragma once

#include "script/value.h"

namespace qn {

// Calls receiver.handle(method, argc + 1, result, (first, argv...), flag) and answers its
// handled flag. Needs no heap for up to seven arguments.
bool handleWith(ScriptObject& receiver, SymbolNumber method, const Value& first, int argc,
                Value* const* argv, Value& result, bool flag = false);

}  // namespace qn
