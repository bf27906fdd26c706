#include "script/prop_list_object.h"

#include <algorithm>
#include <utility>

#include "script/container_text.h"
#include "script/elementwise.h"
#include "script/list_methods.h"
#include "script/nesting_guard.h"
#include "script/symbol_object.h"

namespace qn {

PropListObject::PropListObject() : ScriptObject(sym::propList) {}

namespace {

// A symbol matches only a symbol key of the same number (two symbols without names would compare
// equal by name); any other key matches a key equal to it exactly.
bool matchesKey(const Value& stored, const Value& key) {
  if (SymbolNumber number = symbolOf(key)) return symbolOf(stored) == number;
  return stored.compare(key, true) == kEqual;
}

}  // namespace

int32_t PropListObject::findKey(const Value& key) const {
  for (int32_t i = 0; i < size(); ++i) {
    if (matchesKey(keys_[i], key)) return i + 1;
  }
  return 0;
}

Value PropListObject::valueAt(int32_t position) const {
  return position >= 1 && position <= size() ? values_[position - 1] : Value(0);
}

Value PropListObject::keyAt(int32_t position) const {
  return position >= 1 && position <= size() ? keys_[position - 1] : Value(0);
}

int32_t PropListObject::findValue(const Value& value) const {
  for (int32_t i = 0; i < size(); ++i) {
    if (values_[i].compare(value, true) == kEqual) return i + 1;
  }
  return 0;
}

int32_t PropListObject::findValueIgnoringCase(const Value& value) const {
  for (int32_t i = 0; i < size(); ++i) {
    if (values_[i].compare(value, false) == kEqual) return i + 1;
  }
  return 0;
}

// Each pair against every later one, swapping when the later key is less.
void PropListObject::sortPairs(int32_t first, int32_t last) {
  first = std::max(first, 1);
  last = std::min(last, size());
  for (int32_t i = first - 1; i < last; ++i) {
    for (int32_t j = i + 1; j < last; ++j) {
      if (keys_[j] < keys_[i]) {
        std::swap(keys_[i], keys_[j]);
        std::swap(values_[i], values_[j]);
      }
    }
  }
}

void PropListObject::sort() {
  setSorted(true);
  sortPairs(1, size());
}

// A sorted list is searched by halves for the first key not less than the wanted one; keys equal
// to it ignoring case follow, and the first of them that matches is the one. Unsorted, the first
// key that matches.
int32_t PropListObject::lookup(const Value& key) const {
  if (sorted()) {
    int32_t low = 0, high = size();
    while (low < high) {
      int32_t middle = low + (high - low) / 2;
      if (keys_[middle] < key) low = middle + 1;
      else high = middle;
    }
    for (int32_t i = low; i < size() && !(key < keys_[i]); ++i) {
      if (matchesKey(keys_[i], key)) return i + 1;
    }
    return 0;
  }
  return findKey(key);
}

int32_t PropListObject::findNear(const Value& key) const {
  if (sorted()) {
    for (int32_t i = 0; i < size(); ++i) {
      if (key <= keys_[i]) return i + 1;
    }
    return size() + 1;
  }
  int32_t position = findKey(key);
  return position ? position : size() + 1;
}

Value PropListObject::get(const Value& key) const {
  int32_t position = lookup(key);
  return position ? values_[position - 1] : Value();
}

// Sorted: before the first key the new one is less than, so equal keys keep their order.
void PropListObject::add(const Value& key, const Value& value) {
  int32_t index = size();
  if (sorted()) {
    index = 0;
    while (index < size() && !(key < keys_[index])) ++index;
  }
  keys_.insert(index, key);
  values_.insert(index, value);
}

void PropListObject::set(const Value& key, const Value& value) {
  if (int32_t position = findKey(key)) values_[position - 1] = value;
  else add(key, value);
}

void PropListObject::clear() {
  keys_.clear();
  values_.clear();
}

void PropListObject::replaceAt(int32_t position, const Value& value) {
  if (position >= 1 && position <= size()) values_[position - 1] = value;
}

void PropListObject::removeAt(int32_t position) {
  if (position < 1 || position > size()) return;
  keys_.erase(position - 1);
  values_.erase(position - 1);
}

void PropListObject::toString(std::string& out) const {
  appendContainerText(out, this, size(), "[:]", [&](int32_t i) {
    keys_[i].object()->toString(out);
    out += ": ";
    values_[i].object()->toString(out);
  });
}

ScriptObject* PropListObject::duplicate() {
  auto* copy = new PropListObject();
  NestingGuard guard(this);
  if (guard.stop()) return copy;
  copy->keys_.reserve(size());
  copy->values_.reserve(size());
  for (int32_t i = 0; i < size(); ++i) {
    copy->keys_.append(keys_[i].duplicate());
    copy->values_.append(values_[i].duplicate());
  }
  copy->setSorted(sorted());
  return copy;
}

int PropListObject::compare(const Value& other, bool) const {
  if (other.object() == this) return kEqual;
  NestingGuard guard(this);
  if (!other.is(sym::propList) || guard.stop()) return kIncomparable;
  return compareElementwise(size(), [this](int32_t i) { return valueAt(i); }, other.count(),
                            [&other](int32_t i) { return other.call(sym::getAt, i); }, true);
}

// Same keys, unsorted; each value combined with the other operand, or with the other property
// list's value at the same position.
void PropListObject::arithmetic(Value& result, SymbolNumber op, const Value& other) {
  NestingGuard guard(this);
  if (guard.stop()) {
    result = Value();
    return;
  }
  auto* combined = new PropListObject();
  Value made = Value::adopt(combined);
  bool pairwise = other.is(sym::propList);
  combined->keys_.reserve(size());
  combined->values_.reserve(size());
  for (int32_t i = 0; i < size(); ++i) {
    combined->keys_.append(keys_[i]);
    combined->values_.append(qn::arithmetic(values_[i], op, pairwise ? other.call(sym::getAt, i + 1) : other));
  }
  result = std::move(made);
}

void PropListObject::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::count: result = Value(size()); return;
    case sym::ilk: result = Value::symbol(sym::propList); return;
    default: result = Value();
  }
}

bool PropListObject::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  return methods().answerFrom(sharedOne, *this, method, argc, argv, result);
}

const MethodTable<PropListObject>& PropListObject::methods() {
  using List = PropListObject;
  constexpr auto valueOfKey = [](List& list, const MethodCall& call) { call.answer = list.get(call[0]); };
  constexpr auto positionOfValue = [](List& list, const MethodCall& call) { call.answer = Value(list.findValue(call[0])); };
  static constexpr auto replaceValueOfKey = [](List& list, const MethodCall& call) {
    if (int32_t position = list.findKey(call[0])) list.replaceAt(position, call[1]);
    else call.answer = Value();
  };
  static constexpr auto kMethods = joinMethods(commonListMethods<List>(), std::to_array<Method<List>>({
      {sym::addProp, Arity::exactly(2),
       [](List& list, const MethodCall& call) {
         list.add(call[0], call[1]);
         call.answer = Value::share(&list);
       }},
      {sym::deleteAt, Arity::exactly(1), [](List& list, const MethodCall& call) { list.removeAt(call[0].toInteger()); }},
      {sym::deleteOne, Arity::exactly(1), [](List& list, const MethodCall& call) { list.removeAt(list.findValue(call[0])); }},
      {sym::deleteProp, Arity::exactly(1), [](List& list, const MethodCall& call) { list.removeAt(list.findKey(call[0])); }},
      {sym::findPos, Arity::exactly(1),
       [](List& list, const MethodCall& call) {
         int32_t position = list.findKey(call[0]);
         call.answer = position ? Value(position) : Value();
       }},
      {sym::findPosNear, Arity::exactly(1), [](List& list, const MethodCall& call) { call.answer = Value(list.findNear(call[0])); }},
      {sym::getAProp, Arity::exactly(1), valueOfKey},
      {sym::getProp, Arity::exactly(1), valueOfKey},
      {sym::getAt, Arity::exactly(1),
       [](List& list, const MethodCall& call) {
         call.answer = call[0].isNumber() ? list.valueAt(call[0].toInteger()) : list.get(call[0]);
       }},
      {sym::getLast, Arity::exactly(0),
       [](List& list, const MethodCall& call) { call.answer = list.size() > 0 ? list.values_[list.size() - 1] : Value(); }},
      {sym::getOne, Arity::exactly(1), positionOfValue},
      {sym::getPos, Arity::exactly(1), positionOfValue},
      {sym::getPropAt, Arity::exactly(1), [](List& list, const MethodCall& call) { call.answer = list.keyAt(call[0].toInteger()); }},
      // A number is a position; anything else a key, as for setProp.
      {sym::setAt, Arity::exactly(2),
       [](List& list, const MethodCall& call) {
         if (call[0].isNumber()) list.replaceAt(call[0].toInteger(), call[1]);
         else replaceValueOfKey(list, call);
       }},
      {sym::setProp, Arity::exactly(2), replaceValueOfKey},
      {sym::setAProp, Arity::exactly(2), [](List& list, const MethodCall& call) { list.set(call[0], call[1]); }},
      {sym::sort, Arity::any(), [](List& list, const MethodCall&) { list.sort(); }},
  }));
  static constexpr auto kTable = MethodTable<List>::bind(kMethods);
  return kTable;
}

}  // namespace qn
