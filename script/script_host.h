// The movie as the script library sees it: the answerer of global functions (`new` among them)
// and the source of settings that value text depends on. At most one is bound; with none, floats
// print with 4 decimals and global functions are not handled.
#pragma once

#include "script/value.h"

namespace qn {

class ScriptHost {
 public:
  virtual int32_t floatPrecision() const = 0;
  // The movie's `itemDelimiter`: what separates items in chunk expressions.
  virtual std::string_view itemDelimiter() const { return ","; }
  // The movie's `handle`: global handlers and built-in global functions.
  virtual bool handleGlobal(SymbolNumber method, int argc, Value& result, Value* const* argv,
                            bool flag) = 0;

 protected:
  ~ScriptHost() = default;
};

ScriptHost* scriptHost();
void setScriptHost(ScriptHost* host);  // nullptr unbinds

inline constexpr int32_t kDefaultFloatPrecision = 4;

// `invoke` of script instances and script members: `me` goes in front of the arguments. `new` on
// a script member first asks the movie for a fresh instance, then runs that instance's `new`
// handler with `me` = the instance (the call flag false for both steps).
void invokeWithMe(ScriptObject& receiver, Value& result, SymbolNumber method, int argc,
                  Value* const* argv);

}  // namespace qn
