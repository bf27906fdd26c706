#pragma once

#include <string_view>

namespace qn {

// Writes "-- " + message + "\r\n" to the error sink; script execution goes on.
void reportError(std::string_view message);

// Where error lines go: standard error until the shell binds the debug log. nullptr restores it.
using ErrorSink = void (*)(std::string_view line);
void setErrorSink(ErrorSink sink);

}  // namespace qn
