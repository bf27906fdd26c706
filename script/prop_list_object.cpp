#include "script/prop_list_object.h"

#include <algorithm>
#include <utility>

#include "script/container_text.h"
#include "script/elementwise.h"
#include "script/method_answer.h"
#include "script/nesting_guard.h"
#include "script/symbol_object.h"

namespace qn {

PropListObject::PropListObject() : ScriptObject(sym::propList) {}

int32_t PropListObject::findKey(const Value& key) const {
  for (int32_t i = 0; i < size(); ++i) {
    if (keys_[i].compare(key, true) == kEqual) return i + 1;
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
// to it ignoring case follow, and the first of them equal exactly is the one. Unsorted, a symbol
// matches only a symbol key of the same number (two unnamed symbols would compare equal by name).
int32_t PropListObject::lookup(const Value& key) const {
  if (sorted()) {
    int32_t low = 0, high = size();
    while (low < high) {
      int32_t middle = low + (high - low) / 2;
      if (keys_[middle] < key) low = middle + 1;
      else high = middle;
    }
    for (int32_t i = low; i < size() && !(key < keys_[i]); ++i) {
      if (keys_[i].compare(key, true) == kEqual) return i + 1;
    }
    return 0;
  }
  if (SymbolNumber number = symbolOf(key)) {
    for (int32_t i = 0; i < size(); ++i) {
      if (symbolOf(keys_[i]) == number) return i + 1;
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
  return answerMethod(*this, &PropListObject::dispatch, sharedOne, method, argc, result, argv);
}

bool PropListObject::dispatch(SymbolNumber method, int argc, Value& answer, Value* const* argv) {
  auto isNumber = [&] { return argv[0]->is(sym::integer) || argv[0]->is(sym::float_); };
  switch (method) {
    case sym::addProp:
      if (argc != 2) return false;
      add(*argv[0], *argv[1]);
      answer = Value::share(this);
      return true;
    case sym::count:
      if (argc != 0) return false;
      answer = Value(size());
      return true;
    case sym::deleteAll:
      if (argc != 0) return false;
      keys_.clear();
      values_.clear();
      return true;
    case sym::deleteAt:
      if (argc != 1) return false;
      removeAt(argv[0]->toInteger());
      return true;
    case sym::deleteOne:
      if (argc != 1) return false;
      removeAt(findValue(*argv[0]));
      return true;
    case sym::deleteProp:
      if (argc != 1) return false;
      removeAt(findKey(*argv[0]));
      return true;
    case sym::duplicate:
      if (argc != 0) return false;
      answer = Value::adopt(duplicate());
      return true;
    case sym::findPos: {
      if (argc != 1) return false;
      int32_t position = findKey(*argv[0]);
      answer = position ? Value(position) : Value();
      return true;
    }
    case sym::findPosNear:
      if (argc != 1) return false;
      answer = Value(findNear(*argv[0]));
      return true;
    case sym::getAProp:
    case sym::getProp:
      if (argc != 1) return false;
      answer = get(*argv[0]);
      return true;
    case sym::getAt:
      if (argc != 1) return false;
      answer = isNumber() ? valueAt(argv[0]->toInteger()) : get(*argv[0]);
      return true;
    case sym::getLast:
      if (argc != 0) return false;
      answer = size() > 0 ? values_[size() - 1] : Value();
      return true;
    case sym::getOne:
    case sym::getPos:
      if (argc != 1) return false;
      answer = Value(findValue(*argv[0]));
      return true;
    case sym::getPropAt:
      if (argc != 1) return false;
      answer = keyAt(argv[0]->toInteger());
      return true;
    case sym::ilk:
      answer = Value::symbol(sym::propList);
      return true;
    case sym::setAt:
      if (argc != 2) return false;
      if (isNumber()) {
        int32_t position = argv[0]->toInteger();
        if (position >= 1 && position <= size()) values_[position - 1] = *argv[1];
        return true;
      }
      [[fallthrough]];
    case sym::setProp:
      if (argc != 2) return false;
      if (int32_t position = findKey(*argv[0])) values_[position - 1] = *argv[1];
      else answer = Value();
      return true;
    case sym::setAProp:
      if (argc != 2) return false;
      set(*argv[0], *argv[1]);
      return true;
    case sym::sort:
      sort();
      return true;
    case sym::min_:
    case sym::max_:
      answer = runningExtreme(method, size(), [this](int32_t i) { return valueAt(i); }, sharedOne);
      return true;
    default: return false;
  }
}

}  // namespace qn
