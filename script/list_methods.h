// The methods the three kinds of list answer alike: the linear lists (ListObject, IntListObject),
// PropListObject and SymbolPropListObject. Each list's table joins these with its own. `List`
// offers size(), clear() and valueAt(position) counted from 1.
#pragma once

#include "script/elementwise.h"
#include "script/method_table.h"

namespace qn {

namespace detail {
// `min` or `max` over the values in the list's order. An empty list leaves the answer as it
// starts: the list's starting answer.
template <class List, SymbolNumber Which>
void listExtreme(List& list, const MethodCall& call) {
  call.answer = runningExtreme(Which, list.size(), [&list](int32_t i) { return list.valueAt(i); }, call.answer);
}
}  // namespace detail

template <class List>
constexpr std::array<Method<List>, 6> commonListMethods() {
  return {{
      {sym::count, Arity::exactly(0), [](List& list, const MethodCall& call) { call.answer = Value(list.size()); }},
      {sym::deleteAll, Arity::exactly(0), [](List& list, const MethodCall&) { list.clear(); }},
      {sym::duplicate, Arity::exactly(0),
       [](List& list, const MethodCall& call) { call.answer = Value::adopt(list.duplicate()); }},
      {sym::ilk, Arity::any(), [](List& list, const MethodCall& call) { call.answer = Value::symbol(list.ilk()); }},
      {sym::min_, Arity::any(), detail::listExtreme<List, sym::min_>},
      {sym::max_, Arity::any(), detail::listExtreme<List, sym::max_>},
  }};
}

}  // namespace qn
