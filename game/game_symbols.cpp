#include "game/game_symbols.h"

#include "script/symbol_table.h"

namespace qn::game {

bool registerGameSymbols() {
  bool all = true;
  SymbolNumber number = s::first;
  for (std::string_view name : gameSymbolNames) all = SymbolTable::global().addSymbol(number++, name) && all;
  return all;
}

}  // namespace qn::game
