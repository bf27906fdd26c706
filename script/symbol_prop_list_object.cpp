#include "script/symbol_prop_list_object.h"

#include "script/container_text.h"
#include "script/elementwise.h"
#include "script/list_methods.h"
#include "script/nesting_guard.h"
#include "script/symbol_object.h"
#include "script/symbol_table.h"

namespace qn {

SymbolPropListObject::SymbolPropListObject() : ScriptObject(sym::propList) {}

int32_t SymbolPropListObject::lowerBound(SymbolNumber key) const {
  int32_t low = 0, high = size();
  while (low < high) {
    int32_t middle = low + (high - low) / 2;
    if (entries_[middle].key < key) low = middle + 1;
    else high = middle;
  }
  return low;
}

const SymbolPropListObject::Entry* SymbolPropListObject::find(SymbolNumber key) const {
  int32_t index = lowerBound(key);
  return index < size() && entries_[index].key == key ? &entries_[index] : nullptr;
}

Value SymbolPropListObject::get(SymbolNumber key) const {
  const Entry* entry = find(key);
  return entry ? entry->value : Value();
}

void SymbolPropListObject::set(SymbolNumber key, const Value& value) {
  int32_t index = lowerBound(key);
  if (index < size() && entries_[index].key == key) entries_[index].value = value;
  else entries_.insert(index, Entry{key, value});
}

bool SymbolPropListObject::replace(SymbolNumber key, const Value& value) {
  auto* entry = const_cast<Entry*>(find(key));
  if (!entry) return false;
  entry->value = value;
  return true;
}

void SymbolPropListObject::remove(SymbolNumber key) {
  if (const Entry* entry = find(key)) entries_.erase(static_cast<int32_t>(entry - entries_.begin()));
}

SymbolNumber SymbolPropListObject::keyAt(int32_t position) const {
  return position >= 1 && position <= size() ? entries_[position - 1].key : 0;
}

Value SymbolPropListObject::valueAt(int32_t position) const {
  return position >= 1 && position <= size() ? entries_[position - 1].value : Value(0);
}

void SymbolPropListObject::toString(std::string& out) const {
  appendContainerText(out, this, size(), "[:]", [&](int32_t i) {
    out += '#';
    out += SymbolTable::global().symbolName(entries_[i].key);
    out += ": ";
    entries_[i].value.object()->toString(out);
  });
}

ScriptObject* SymbolPropListObject::duplicate() {
  auto* copy = new SymbolPropListObject();
  NestingGuard guard(this);
  if (guard.stop()) return copy;
  copy->entries_.reserve(size());
  for (const Entry& entry : entries_) copy->entries_.append(Entry{entry.key, entry.value.duplicate()});
  return copy;
}

// Values position by position against the other property list's getAt; keys are not compared.
int SymbolPropListObject::compare(const Value& other, bool) const {
  if (other.object() == this) return kEqual;
  NestingGuard guard(this);
  if (!other.is(sym::propList) || guard.stop()) return kIncomparable;
  return compareElementwise(size(), [this](int32_t i) { return valueAt(i); }, other.count(),
                            [&other](int32_t i) { return other.call(sym::getAt, i); }, true);
}

void SymbolPropListObject::arithmetic(Value& result, SymbolNumber, const Value&) { result = Value(); }

void SymbolPropListObject::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::count: result = Value(size()); return;
    case sym::ilk: result = Value::symbol(sym::propList); return;
    default: result = get(property);
  }
}

bool SymbolPropListObject::setProperty(SymbolNumber property, const Value& value) {
  set(property, value);
  return true;
}

bool SymbolPropListObject::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  return methods().answerFrom(sharedOne, *this, method, argc, argv, result);
}

// Keys that are not symbols change nothing; positions mean nothing in a list kept in symbol order,
// so the positional methods are answered and do nothing.
const MethodTable<SymbolPropListObject>& SymbolPropListObject::methods() {
  using List = SymbolPropListObject;
  constexpr auto nothing = [](List&, const MethodCall&) {};
  constexpr auto answerVoid = [](List&, const MethodCall& call) { call.answer = Value(); };
  constexpr auto valueOfKey = [](List& list, const MethodCall& call) { list.getProperty(call.answer, symbolOf(call[0])); };
  static constexpr auto kMethods = joinMethods(commonListMethods<List>(), std::to_array<Method<List>>({
      {sym::addProp, Arity::exactly(2),
       [](List& list, const MethodCall& call) {
         if (SymbolNumber key = symbolOf(call[0])) list.set(key, call[1]);
         call.answer = Value::share(&list);
       }},
      {sym::deleteProp, Arity::exactly(1),
       [](List& list, const MethodCall& call) {
         if (SymbolNumber key = symbolOf(call[0])) list.remove(key);
       }},
      {sym::deleteAt, Arity::exactly(1), nothing},
      {sym::deleteOne, Arity::exactly(1), nothing},
      {sym::getOne, Arity::exactly(1), nothing},
      {sym::getPos, Arity::exactly(1), nothing},
      {sym::setAt, Arity::exactly(2), nothing},
      {sym::getLast, Arity::exactly(0), nothing},
      {sym::sort, Arity::any(), nothing},
      {sym::findPos, Arity::exactly(1), answerVoid},
      {sym::findPosNear, Arity::exactly(1), answerVoid},
      {sym::getAProp, Arity::exactly(1), valueOfKey},
      {sym::getProp, Arity::exactly(1), valueOfKey},
      {sym::getAt, Arity::exactly(1),
       [](List& list, const MethodCall& call) {
         if (call[0].isNumber()) call.answer = list.valueAt(call[0].toInteger());
         else if (SymbolNumber key = symbolOf(call[0])) list.getProperty(call.answer, key);
       }},
      {sym::getPropAt, Arity::exactly(1),
       [](List& list, const MethodCall& call) {
         if (!call[0].isNumber()) return;
         SymbolNumber found = list.keyAt(call[0].toInteger());
         call.answer = found ? Value::symbol(found) : Value(0);
       }},
      {sym::setProp, Arity::exactly(2),
       [](List& list, const MethodCall& call) {
         if (!list.replace(symbolOf(call[0]), call[1])) call.answer = Value();
       }},
      {sym::setAProp, Arity::exactly(2),
       [](List& list, const MethodCall& call) {
         if (SymbolNumber key = symbolOf(call[0])) list.set(key, call[1]);
       }},
  }));
  static constexpr auto kTable = MethodTable<List>::bind(kMethods);
  return kTable;
}

SymbolPropListObject* symbolPropListOf(const Value& value) {
  return value.is(sym::propList) ? dynamic_cast<SymbolPropListObject*>(value.object()) : nullptr;
}

Value makePropList(std::initializer_list<Value> keysAndValues) {
  auto* list = new SymbolPropListObject();
  Value made = Value::adopt(list);
  for (const Value* pair = keysAndValues.begin(); pair + 1 < keysAndValues.end(); pair += 2) {
    if (SymbolNumber key = symbolOf(pair[0])) list->set(key, pair[1]);
  }
  return made;
}

Value makeRecord(std::initializer_list<std::pair<SymbolNumber, Value>> entries) {
  auto* list = new SymbolPropListObject();
  Value made = Value::adopt(list);
  for (const auto& [key, value] : entries) list->set(key, value);
  return made;
}

}  // namespace qn
