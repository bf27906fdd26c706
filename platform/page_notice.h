// What the program tells the page around it in the browser edition, as a word and a number (a
// game ended, and in which frame, so that the page can offer to share it; the address's options
// were refused). Nothing hears it on the desktop.
#pragma once

#include <cstdint>
#include <string_view>

namespace qn::platform {

// Whether a page heard it.
bool tellPage(std::string_view what, uint32_t value);

}  // namespace qn::platform
