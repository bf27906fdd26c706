#include "script/symbol_prop_list_object.h"

#include "script/container_text.h"
#include "script/elementwise.h"
#include "script/method_answer.h"
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

Value SymbolPropListObject::valueAtPosition(int32_t position) const {
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
  return compareElementwise(size(), [this](int32_t i) { return valueAtPosition(i); }, other.count(),
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
  return answerMethod(*this, &SymbolPropListObject::dispatch, sharedOne, method, argc, result, argv);
}

bool SymbolPropListObject::dispatch(SymbolNumber method, int argc, Value& answer, Value* const* argv) {
  auto key = [&] { return symbolOf(*argv[0]); };
  auto isNumber = [&] { return argv[0]->is(sym::integer) || argv[0]->is(sym::float_); };
  switch (method) {
    case sym::addProp:
      if (argc != 2) return false;
      if (key()) set(key(), *argv[1]);
      answer = Value::share(this);
      return true;
    case sym::count:
      if (argc != 0) return false;
      answer = Value(size());
      return true;
    case sym::deleteAll:
      if (argc != 0) return false;
      clear();
      return true;
    case sym::deleteProp:
      if (argc != 1) return false;
      if (key()) remove(key());
      return true;
    case sym::deleteAt:  // positions mean nothing in a list kept in symbol order
    case sym::deleteOne:
    case sym::getOne:
    case sym::getPos:
      return argc == 1;
    case sym::setAt: return argc == 2;
    case sym::getLast: return argc == 0;
    case sym::sort: return true;
    case sym::duplicate:
      if (argc != 0) return false;
      answer = Value::adopt(duplicate());
      return true;
    case sym::findPos:
    case sym::findPosNear:
      if (argc != 1) return false;
      answer = Value();
      return true;
    case sym::getAProp:
    case sym::getProp:
      if (argc != 1) return false;
      getProperty(answer, key());
      return true;
    case sym::getAt:
      if (argc != 1) return false;
      if (isNumber()) answer = valueAtPosition(argv[0]->toInteger());
      else if (key()) getProperty(answer, key());
      return true;
    case sym::getPropAt:
      if (argc != 1) return false;
      if (isNumber()) {
        SymbolNumber found = keyAt(argv[0]->toInteger());
        answer = found ? Value::symbol(found) : Value(0);
      }
      return true;
    case sym::ilk:
      answer = Value::symbol(sym::propList);
      return true;
    case sym::setProp:
      if (argc != 2) return false;
      if (!replace(key(), *argv[1])) answer = Value();
      return true;
    case sym::setAProp:
      if (argc != 2) return false;
      if (key()) set(key(), *argv[1]);
      return true;
    case sym::min_:
    case sym::max_:
      answer = runningExtreme(method, size(), [this](int32_t i) { return valueAtPosition(i); }, sharedOne);
      return true;
    default: return false;
  }
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
