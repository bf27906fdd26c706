// The method table, text, comparison and arithmetic of the linear lists.
#include "script/linear_list.h"

#include <algorithm>

#include "script/container_text.h"
#include "script/elementwise.h"
#include "script/int_list_object.h"
#include "script/intro_sort.h"
#include "script/list_methods.h"
#include "script/list_object.h"
#include "script/nesting_guard.h"

namespace qn {

template <class Element, class Self>
Value ListOf<Element, Self>::elementAt(int32_t position) const {
  if (position < 1 || position > size()) return Traits::missing();
  return Traits::toValue(items_[position - 1]);
}

// A position below 1 changes nothing: there is no element to replace and nothing to grow.
template <class Element, class Self>
void ListOf<Element, Self>::setElement(int32_t position, const Value& value) {
  if (position < 1) return;
  Element element = Traits::fromValue(value);
  if (position > size()) items_.growTo(position, Traits::zero());
  items_[position - 1] = std::move(element);
}

// Before the first element the new value is smaller than, so equal elements keep the order in
// which they came.
template <class Element, class Self>
void ListOf<Element, Self>::addInOrder(const Value& value) {
  Element element = Traits::fromValue(value);
  int32_t index = 0;
  while (index < size() && !Traits::less(element, items_[index])) ++index;
  items_.insert(index, std::move(element));
}

template <class Element, class Self>
void ListOf<Element, Self>::insertAt(int32_t position, const Value& value) {
  if (position < 1) return;
  Element element = Traits::fromValue(value);
  if (position > size()) {
    items_.growTo(position - 1, Traits::zero());
    items_.append(std::move(element));
  } else {
    items_.insert(position - 1, std::move(element));
  }
}

template <class Element, class Self>
void ListOf<Element, Self>::sort() {
  introSort(items_.begin(), items_.end(), Traits::less);
  setSorted(true);
}

template <class Element, class Self>
int32_t ListOf<Element, Self>::find(const Value& value) const {
  for (int32_t i = 0; i < size(); ++i) {
    if (Traits::toValue(items_[i]).compare(value, true) == kEqual) return i + 1;
  }
  return 0;
}

// In a sorted list: the first element not less than the value, or count + 1.
template <class Element, class Self>
int32_t ListOf<Element, Self>::findNear(const Value& value) const {
  if (!sorted()) return find(value);
  for (int32_t i = 0; i < size(); ++i) {
    if (value <= Traits::toValue(items_[i])) return i + 1;
  }
  return size() + 1;
}

template <class Element, class Self>
void ListOf<Element, Self>::toString(std::string& out) const {
  appendContainerText(out, this, size(), "[]", [&](int32_t i) { Traits::appendText(out, items_[i]); });
}

template <class Element, class Self>
ScriptObject* ListOf<Element, Self>::duplicate() {
  auto* copy = new Self();
  NestingGuard guard(this);
  if (guard.stop()) return copy;
  copy->items_.reserve(size());
  for (const Element& element : items_) {
    if constexpr (std::is_same_v<Element, Value>) copy->items_.append(element.duplicate());
    else copy->items_.append(element);
  }
  copy->setSorted(sorted());
  return copy;
}

// Against another indexed value: a shorter other is less, then element by element.
template <class Element, class Self>
int ListOf<Element, Self>::compare(const Value& other, bool) const {
  if (other.object() == this) return kEqual;
  IndexedObject* indexed = indexedOf(other);
  NestingGuard guard(this);
  if (!indexed || guard.stop()) return kIncomparable;
  return compareElementwise(size(), [this](int32_t i) { return elementAt(i); }, indexed->count(),
                            [indexed](int32_t i) { return indexed->elementAt(i); }, false);
}

// Element by element: with an indexed value the shorter length wins; a property list combines
// whole with each element (again up to the shorter length); anything else combines with each.
template <class Element, class Self>
void ListOf<Element, Self>::arithmetic(Value& result, SymbolNumber op, const Value& other) {
  NestingGuard guard(this);
  if (guard.stop()) {
    result = Value();
    return;
  }
  auto* combined = new Self();
  Value made = Value::adopt(combined);
  IndexedObject* indexed = indexedOf(other);
  int32_t length = size();
  if (indexed) length = std::min(length, indexed->count());
  else if (other.is(sym::propList)) length = std::min(length, other.count());
  combined->items_.reserve(length);
  for (int32_t i = 0; i < length; ++i) {
    Value element = Traits::toValue(items_[i]);
    Value combination = indexed ? qn::arithmetic(element, op, indexed->elementAt(i + 1))
                                : qn::arithmetic(element, op, other);
    combined->items_.append(Traits::fromValue(combination));
  }
  result = std::move(made);
}

template <class Element, class Self>
void ListOf<Element, Self>::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::count: result = Value(size()); return;
    case sym::ilk: result = Value::symbol(ilk()); return;
    default: result = Value();
  }
}

template <class Element, class Self>
bool ListOf<Element, Self>::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  return methods().answerFrom(sharedZero, *this, method, argc, argv, result);
}

template <class Element, class Self>
const MethodTable<ListOf<Element, Self>>& ListOf<Element, Self>::methods() {
  using List = ListOf<Element, Self>;
  constexpr auto removeAtPosition = [](List& list, const MethodCall& call) { list.removeAt(call[0].toInteger()); };
  constexpr auto findPosition = [](List& list, const MethodCall& call) { call.answer = Value(list.find(call[0])); };
  constexpr auto elementAtPosition = [](List& list, const MethodCall& call) {
    call.answer = list.elementAt(call[0].toInteger());
  };
  static constexpr auto kMethods = joinMethods(commonListMethods<List>(), std::to_array<Method<List>>({
      {sym::add, Arity::exactly(1),
       [](List& list, const MethodCall& call) {
         if (list.sorted()) list.addInOrder(call[0]);
         else list.items_.append(Traits::fromValue(call[0]));
         call.answer = Value::share(&list);
       }},
      {sym::addAt, Arity::exactly(2),
       [](List& list, const MethodCall& call) {
         list.setSorted(false);
         if (call[0].isIntegerLike()) list.insertAt(call[0].toInteger(), call[1]);
         call.answer = Value();
       }},
      {sym::append, Arity::exactly(1), [](List& list, const MethodCall& call) { list.append(call[0]); }},
      {sym::deleteAt, Arity::exactly(1), removeAtPosition},
      {sym::deleteProp, Arity::exactly(1), removeAtPosition},
      {sym::deleteOne, Arity::exactly(1), [](List& list, const MethodCall& call) { list.removeAt(list.find(call[0])); }},
      {sym::findPos, Arity::exactly(1), findPosition},
      {sym::getOne, Arity::exactly(1), findPosition},
      {sym::getPos, Arity::exactly(1), findPosition},
      {sym::findPosNear, Arity::exactly(1),
       [](List& list, const MethodCall& call) { call.answer = Value(list.findNear(call[0])); }},
      {sym::getAProp, Arity::exactly(1), elementAtPosition},
      {sym::getAt, Arity::exactly(1), elementAtPosition},
      // An empty list reads its missing position 0: void, or 0 for integers.
      {sym::getLast, Arity::any(), [](List& list, const MethodCall& call) { call.answer = list.elementAt(list.size()); }},
      {sym::setAt, Arity::exactly(2),
       [](List& list, const MethodCall& call) {
         list.setSorted(false);
         list.setElement(call[0].toInteger(), call[1]);
         call.answer = Value();
       }},
      {sym::sort, Arity::exactly(0), [](List& list, const MethodCall&) { list.sort(); }},
  }));
  static constexpr auto kTable = MethodTable<List>::bind(kMethods);
  return kTable;
}

template class ListOf<Value, ListObject>;
template class ListOf<int32_t, IntListObject>;

}  // namespace qn
