#include "engine/script_instance.h"

#include <cstdio>

#include "script/script_host.h"
#include "script/symbol_object.h"

namespace qn {

void ScriptInstance::becomeScriptObjectOf(const Value& member) {
  remark(sym::script);
  script_ = member;
}

void ScriptInstance::invoke(Value& result, SymbolNumber method, int argc, Value* const* argv) {
  invokeWithMe(*this, result, method, argc, argv);
}

void ScriptInstance::toString(std::string& out) const {
  if (isScriptObject()) {
    out += "(script ";
    out += stringOf(script_.getProperty(sym::name));
    out += ")";
    return;
  }
  char text[64];
  std::snprintf(text, sizeof text, "<offspring %s %d %x>", "???", refCount(),
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(this)));
  out += text;
}

// Instances are reference objects: a copy is the same object.
ScriptObject* ScriptInstance::duplicate() {
  retain();
  return this;
}

void ScriptInstance::getProperty(Value& result, SymbolNumber property) {
  if (Value* own = ownProperty(property)) {
    result = *own;
    return;
  }
  switch (property) {
    case sym::ilk: result = Value::symbol(ilk()); return;
    case sym::spriteNum: result = Value(spriteNum_); return;
    default: result = Value(); return;
  }
}

bool ScriptInstance::setProperty(SymbolNumber property, const Value& value) {
  Value* own = ownProperty(property);
  if (!own) return false;
  *own = value;
  return true;
}

}  // namespace qn
