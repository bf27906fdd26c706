// printf-style formatting into a script string.
#pragma once

#include "script/string_object.h"

namespace qn {

// Replaces the target's text with the formatted text, however long it comes out.
void formatText(StringObject& target, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace qn
