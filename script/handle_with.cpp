#include "script/handle_with.h"

#include <array>
#include <memory>

namespace qn {

bool handleWith(ScriptObject& receiver, SymbolNumber method, const Value& first, int argc,
                Value* const* argv, Value& result, bool flag) {
  constexpr int kLocalArguments = 8;
  const int total = argc + 1;
  std::array<Value*, kLocalArguments> local;
  std::unique_ptr<Value*[]> onHeap;
  Value** vector = local.data();
  if (total > kLocalArguments) {
    onHeap = std::make_unique<Value*[]>(static_cast<size_t>(total));
    vector = onHeap.get();
  }
  Value leading = first;  // the receiver may replace what its argument slots hold
  vector[0] = &leading;
  for (int i = 0; i < argc; ++i) vector[i + 1] = argv[i];
  return receiver.handle(method, total, result, vector, flag);
}

}  // namespace qn
