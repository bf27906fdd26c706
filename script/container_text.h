// The text form shared by lists and property lists: "[entry, entry, ...]", `empty` for a
// container without entries, and "[...]" for a container already being printed (one that holds
// itself) or nested too deeply.
#pragma once

#include <cstdint>
#include <string>

#include "script/nesting_guard.h"

namespace qn {

template <class AppendEntry>
void appendContainerText(std::string& out, const void* container, int32_t count, const char* empty,
                         AppendEntry appendEntry) {
  NestingGuard guard(container);
  if (guard.stop()) {
    out += "[...]";
    return;
  }
  if (count == 0) {
    out += empty;
    return;
  }
  out += '[';
  for (int32_t i = 0; i < count; ++i) {
    if (i > 0) out += ", ";
    appendEntry(i);
  }
  out += ']';
}

}  // namespace qn
