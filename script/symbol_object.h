#pragma once

#include <memory>

#include "script/value.h"

namespace qn {

// A symbol value. Immutable: duplicate shares it. The name is fetched from the table only when
// the symbol is printed or compared by name, then kept.
class SymbolObject final : public ScriptObject {
 public:
  explicit SymbolObject(SymbolNumber number) : ScriptObject(sym::symbol), number_(number) {}
  ~SymbolObject() override;
  SymbolNumber number() const { return number_; }
  // The name without "#"; "" for a number without an entry.
  const char* name() const;

  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;

 private:
  SymbolNumber number_;
  mutable char* nameCache_ = nullptr;  // owned, terminated; from the pool when short enough
};

static_assert(sizeof(SymbolObject) <= 32, "symbols live in pool cells");

// The symbol number a value holds, or 0 when it is not a symbol.
inline SymbolNumber symbolOf(const Value& value) {
  return value.is(sym::symbol) ? static_cast<const SymbolObject*>(value.object())->number() : 0;
}

// Text of a value as the script function `string` gives it: a symbol without "#", a string as
// itself, anything else its text form.
std::string stringOf(const Value& value);

}  // namespace qn
