#include <cstdio>

#include "script/symbol_table.h"
#include "script/value.h"
#include "shell/platform/platform.h"

int main() {
  qn::initValueModel();
  qn::SymbolTable::global().addBuiltins();
  qn::platform::debugOutput("boules: the movie is not built yet; nothing to play.\n");
  qn::shutdownValueModel();
  return 0;
}
