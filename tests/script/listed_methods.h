// A type's documented methods against its method table (script/method_table.h).
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

#include "script/method_table.h"

namespace qn::testing {

struct Listed {
  SymbolNumber symbol;
  std::optional<Arity> arity;  // none where the count is not fixed
};

constexpr Arity none = Arity::exactly(0), one = Arity::exactly(1), two = Arity::exactly(2);
constexpr std::nullopt_t unchecked = std::nullopt;

// Every listed method is bound, with its count where the list fixes one; nothing else is bound.
template <class Table>
void expectBindsExactly(const char* type, const Table& table, std::initializer_list<Listed> listed) {
  for (const Listed& method : listed) {
    const auto* bound = table.find(method.symbol);
    if (bound == nullptr) {
      ADD_FAILURE() << type << " does not bind #" << builtinSymbolName(method.symbol);
      continue;
    }
    EXPECT_TRUE(!method.arity || bound->arity == *method.arity) << type << " #" << builtinSymbolName(method.symbol);
  }
  EXPECT_EQ(table.size(), listed.size()) << type << " binds a method that is not listed";
}

}  // namespace qn::testing
