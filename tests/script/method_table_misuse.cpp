// Compiled by the tests, never linked: MISUSE 0 is a table as the types make theirs and must
// compile; each other MISUSE is a mistake that must not.
#include <array>

#include "script/method_table.h"

namespace qn {

struct Thing {};
constexpr void nothing(Thing&, const MethodCall&) {}

#if MISUSE == 0
// A static array and a table made from it at compile time.
const MethodTable<Thing>& methods() {
  static constexpr auto kMethods = std::to_array<Method<Thing>>({{sym::ilk, Arity::any(), nothing}});
  static constexpr auto kTable = MethodTable<Thing>::bind(kMethods);
  return kTable;
}
#elif MISUSE == 1
// A symbol bound twice, in a table made when the program starts rather than at compile time.
static constexpr auto kTwice =
    std::to_array<Method<Thing>>({{sym::ilk, Arity::any(), nothing}, {sym::ilk, Arity::exactly(1), nothing}});
const auto kTable = MethodTable<Thing>::bind(kTwice);
#elif MISUSE == 2
// A table of a temporary array, which is gone once the table is made.
const auto kTable = MethodTable<Thing>::bind(std::to_array<Method<Thing>>({{sym::ilk, Arity::any(), nothing}}));
#elif MISUSE == 3
// A table of an array on the stack, which is gone once the function returns.
bool answers(Thing& thing, Value& result) {
  constexpr auto kMethods = std::to_array<Method<Thing>>({{sym::ilk, Arity::any(), nothing}});
  const auto table = MethodTable<Thing>::bind(kMethods);
  return table.answer(thing, sym::ilk, 0, nullptr, result);
}
#elif MISUSE == 4
// A table made by its constructor, past bind.
static constexpr auto kTwice =
    std::to_array<Method<Thing>>({{sym::ilk, Arity::any(), nothing}, {sym::ilk, Arity::exactly(1), nothing}});
const MethodTable<Thing> kTable(kTwice);
#endif

}  // namespace qn
