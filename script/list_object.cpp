#include "script/list_object.h"

#include "script/nesting_guard.h"
#include "script/scalars.h"

namespace qn {

ListObject::ListObject() : ListOf(sym::list) {}

Value makeList(std::initializer_list<Value> items) {
  auto* list = new ListObject();
  Value made = Value::adopt(list);
  list->reserve(static_cast<int32_t>(items.size()));
  for (const Value& item : items) list->append(item);
  return made;
}

Value makeIntegerList(std::initializer_list<int32_t> items) {
  auto* list = new ListObject();
  Value made = Value::adopt(list);
  list->reserve(static_cast<int32_t>(items.size()));
  for (int32_t item : items) {
    if (item == 0) list->append(sharedZero);
    else if (item == 1) list->append(sharedOne);
    else list->append(Value(item));
  }
  return made;
}

namespace {

// A number on the left of a list: each element combined with the number, kept as it comes.
void numberWithList(Value& result, SymbolNumber op, const Value& number, const Value& compound) {
  const ListObject& list = *listOf(compound);
  NestingGuard guard(compound.object());
  if (guard.stop()) {
    result = Value();
    return;
  }
  auto* combined = new ListObject();
  Value made = Value::adopt(combined);
  combined->reserve(list.size());
  for (const Value& element : list) combined->append(arithmetic(number, op, element));
  result = std::move(made);
}

[[maybe_unused]] const bool registered = (registerNumberOnLeftArithmetic(sym::list, numberWithList), true);

}  // namespace

}  // namespace qn
