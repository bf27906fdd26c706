#include "script/int_list_object.h"

#include "script/scalars.h"

namespace qn {

IntListObject::IntListObject() : ListOf(sym::intList) {}

namespace {

// A number on the left of an integer list: a new integer list of the integer results.
void numberWithIntList(Value& result, SymbolNumber op, const Value& number, const Value& compound) {
  const auto& list = *static_cast<const IntListObject*>(compound.object());
  auto* combined = new IntListObject();
  Value made = Value::adopt(combined);
  combined->reserve(list.size());
  for (int32_t element : list) combined->append(arithmetic(number, op, Value(element)));
  result = std::move(made);
}

[[maybe_unused]] const bool registered = (registerNumberOnLeftArithmetic(sym::intList, numberWithIntList), true);

}  // namespace

}  // namespace qn
