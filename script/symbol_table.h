// Numbered names. Both maps agree at all times; names are compared ignoring letter case, so two
// names that differ only in case are one name. Filled before the first frame, read afterwards.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "script/symbols.h"

namespace qn {

class SymbolTable {
 public:
  // False, changing nothing, when the number or the name (ignoring case) is already present.
  bool addSymbol(SymbolNumber number, std::string_view name);
  // The entered name, or "" when the number has none.
  std::string symbolName(SymbolNumber number) const;
  // Enters 100 to 363 (the movie does this before anything else runs).
  void addBuiltins();
  void clear();

  // The one table of the process.
  static SymbolTable& global();

 private:
  struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  std::map<SymbolNumber, std::string> names_;
  std::map<std::string, SymbolNumber, CaseInsensitiveLess> numbers_;
};

// Compares two texts ignoring ASCII letter case: negative, zero or positive.
int compareIgnoringCase(std::string_view a, std::string_view b);

}  // namespace qn
