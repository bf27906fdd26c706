#include "script/symbol_object.h"

#include <cstring>

#include "script/small_block_pool.h"
#include "script/string_object.h"
#include "script/symbol_table.h"

namespace qn {

SymbolObject::~SymbolObject() {
  if (nameCache_) freeBlock(nameCache_, std::strlen(nameCache_) + 1);
}

const char* SymbolObject::name() const {
  if (!nameCache_) {
    std::string text = SymbolTable::global().symbolName(number_);
    nameCache_ = static_cast<char*>(allocateBlock(text.size() + 1));
    std::memcpy(nameCache_, text.c_str(), text.size() + 1);
  }
  return nameCache_;
}

void SymbolObject::toString(std::string& out) const {
  out += '#';
  out += name();
}

ScriptObject* SymbolObject::duplicate() {
  retain();
  return this;
}

int SymbolObject::compare(const Value& other, bool) const {
  if (other.object() == this) return kEqual;
  if (!other.is(sym::symbol)) return kIncomparable;
  auto* that = static_cast<const SymbolObject*>(other.object());
  if (that->number_ == number_) return kEqual;
  int order = compareIgnoringCase(name(), that->name());
  return order == 0 ? kEqual : (order > 0 ? kGreater : kLess);
}

std::string stringOf(const Value& value) {
  if (value.is(sym::symbol)) return static_cast<const SymbolObject*>(value.object())->name();
  return textOf(value);
}

}  // namespace qn
