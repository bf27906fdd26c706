// Defaults of the fourteen operations and the storage of script objects.
#include "script/report_error.h"
#include "script/small_block_pool.h"
#include "script/value.h"

namespace qn {

void* ScriptObject::operator new(size_t size) { return allocateBlock(size); }
void ScriptObject::operator delete(void* storage, size_t size) { freeBlock(storage, size); }

void ScriptObject::destroy(bool freeStorage) {
  if (freeStorage) delete this;
  else this->~ScriptObject();
}

// The variadic call already laid the arguments out on the caller's stack, so they go straight on.
void ScriptObject::invoke(Value& result, SymbolNumber method, int argc, Value* const* argv) {
  Value answer;
  handle(method, argc, answer, argv, true);
  result = answer;
}

int ScriptObject::compare(const Value& other, bool) const {
  return other.object() == this ? kEqual : kIncomparable;
}

void ScriptObject::arithmetic(Value& result, SymbolNumber, const Value&) {
  reportError("This object does not support arithmetic operations");
  result = Value::share(this);
}

int32_t ScriptObject::count() {
  reportError("This object does not support the count() function");
  return 0;
}

bool ScriptObject::handle(SymbolNumber, int, Value&, Value* const*, bool) { return false; }

void ScriptObject::getProperty(Value& result, SymbolNumber property) {
  result = property == sym::ilk ? Value::symbol(ilk_) : Value();
}

bool ScriptObject::setProperty(SymbolNumber, const Value&) { return false; }
bool ScriptObject::isIntegerLike() const { return false; }
bool ScriptObject::isFloatLike() const { return false; }
int32_t ScriptObject::toInteger() const { return 0; }
double ScriptObject::toFloat() const { return 0.0; }

}  // namespace qn
