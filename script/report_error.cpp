#include "script/report_error.h"

#include <string>

#include "platform/platform.h"

namespace qn {

namespace {
ErrorSink errorSink = platform::debugOutput;
}  // namespace

void reportError(std::string_view message) {
  std::string line = "-- ";
  line += message;
  line += "\r\n";
  errorSink(line);
}

void setErrorSink(ErrorSink sink) { errorSink = sink ? sink : platform::debugOutput; }

}  // namespace qn
