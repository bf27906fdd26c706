// What the movie reads for one key event: the character the key typed (0 for none) and the key
// code the device's tables give it.
#pragma once

#include <cstdint>

namespace qn {

struct KeyReport {
  uint8_t character = 0;
  uint8_t code = 0;
  bool operator==(const KeyReport&) const = default;
};

}  // namespace qn
