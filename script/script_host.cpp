#include "script/script_host.h"

#include "script/handle_with.h"

namespace qn {

namespace {
ScriptHost* boundHost = nullptr;
}  // namespace

ScriptHost* scriptHost() { return boundHost; }
void setScriptHost(ScriptHost* host) { boundHost = host; }

void invokeWithMe(ScriptObject& receiver, Value& result, SymbolNumber method, int argc,
                  Value* const* argv) {
  Value me = Value::share(&receiver);
  Value answer;
  if (method == sym::new_ && receiver.ilk() == sym::script) {
    // The movie makes the instance; its own `new` handler then runs with `me` = that instance.
    Value instance;
    Value* script[] = {&me};
    if (ScriptHost* host = scriptHost()) host->handleGlobal(sym::new_, 1, instance, script, false);
    handleWith(*instance.object(), sym::new_, instance, argc, argv, answer, false);
  } else {
    handleWith(receiver, method, me, argc, argv, answer, true);
  }
  result = answer;
}

}  // namespace qn
