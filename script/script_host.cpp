#include "script/script_host.h"

#include <array>
#include <memory>

namespace qn {

namespace {
ScriptHost* boundHost = nullptr;
}  // namespace

ScriptHost* scriptHost() { return boundHost; }
void setScriptHost(ScriptHost* host) { boundHost = host; }

void invokeWithMe(ScriptObject& receiver, Value& result, SymbolNumber method, int argc,
                  Value* const* argv) {
  constexpr int kLocalArguments = 8;
  const int total = argc + 1;
  std::array<Value*, kLocalArguments> local;
  std::unique_ptr<Value*[]> onHeap;
  Value** vector = local.data();
  if (total > kLocalArguments) {
    onHeap = std::make_unique<Value*[]>(static_cast<size_t>(total));
    vector = onHeap.get();
  }
  Value me = Value::share(&receiver);
  vector[0] = &me;
  for (int i = 0; i < argc; ++i) vector[i + 1] = argv[i];

  Value answer;
  if (method == sym::new_ && receiver.ilk() == sym::script) {
    // The movie makes the instance; its own `new` handler then runs with `me` = that instance.
    Value instance;
    if (ScriptHost* host = scriptHost()) host->handleGlobal(sym::new_, 1, instance, vector, false);
    me = instance;
    instance.object()->handle(sym::new_, total, answer, vector, false);
  } else {
    receiver.handle(method, total, answer, vector, true);
  }
  result = answer;
}

}  // namespace qn
