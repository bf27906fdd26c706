#include "script/wide_text.h"

namespace qn {

WideText::WideText(std::string_view text) {
  text_.reserve(text.size());
  for (char byte : text) text_ += static_cast<char16_t>(static_cast<unsigned char>(byte));
}

}  // namespace qn
