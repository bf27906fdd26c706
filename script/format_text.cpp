#include "script/format_text.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace qn {

// A 100-byte buffer is tried first; when the text is longer, the buffer is made as long as the
// formatting said it needs. A format the C library rejects leaves the target empty.
void formatText(StringObject& target, const char* format, ...) {
  std::string buffer(100, '\0');
  va_list arguments;
  va_start(arguments, format);
  va_list again;
  va_copy(again, arguments);
  int length = std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
  if (length >= static_cast<int>(buffer.size())) {
    buffer.assign(static_cast<size_t>(length) + 1, '\0');
    length = std::vsnprintf(buffer.data(), buffer.size(), format, again);
  }
  va_end(again);
  va_end(arguments);
  target.assign(length > 0 ? std::string_view(buffer.data(), static_cast<size_t>(length)) : std::string_view());
}

}  // namespace qn
