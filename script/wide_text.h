// A 16-bit-character copy of a script string for platform calls that take wide text. Script
// text is single-byte; each byte becomes the character of the same number (Latin-1), so the
// copy has exactly one character per byte.
#pragma once

#include <string>
#include <string_view>

namespace qn {

class WideText {
 public:
  explicit WideText(std::string_view text);
  const char16_t* c_str() const { return text_.c_str(); }
  size_t size() const { return text_.size(); }
  std::u16string_view view() const { return text_; }

 private:
  std::u16string text_;
};

}  // namespace qn
