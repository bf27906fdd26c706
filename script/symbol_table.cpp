#include "script/symbol_table.h"

#include <algorithm>

namespace qn {

namespace {
char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

int compareIgnoringCase(std::string_view a, std::string_view b) {
  size_t shorter = std::min(a.size(), b.size());
  for (size_t i = 0; i < shorter; ++i) {
    unsigned char x = static_cast<unsigned char>(foldCase(a[i]));
    unsigned char y = static_cast<unsigned char>(foldCase(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SymbolTable::CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
  return compareIgnoringCase(a, b) < 0;
}

bool SymbolTable::addSymbol(SymbolNumber number, std::string_view name) {
  std::string text(name);
  if (names_.contains(number) || numbers_.contains(text)) return false;
  names_.emplace(number, text);
  numbers_.emplace(std::move(text), number);
  return true;
}

std::string SymbolTable::symbolName(SymbolNumber number) const {
  auto found = names_.find(number);
  return found == names_.end() ? std::string() : found->second;
}

void SymbolTable::addBuiltins() {
  for (SymbolNumber number = sym::firstBuiltin; number <= sym::lastBuiltin; ++number)
    addSymbol(number, builtinSymbolName(number));
}

void SymbolTable::clear() {
  names_.clear();
  numbers_.clear();
}

SymbolTable& SymbolTable::global() {
  static SymbolTable table;
  return table;
}

}  // namespace qn
