// What the program tells the page around it in the browser edition, as a word and a number (a
// game ended, and in which frame, so that the page can offer to share it). Nothing hears it on
// the desktop.
#pragma once

#include <cstdint>
#include <string_view>

namespace qn::platform {

void tellPage(std::string_view what, uint32_t value);

}  // namespace qn::platform
