// The key-state query scripts call as `keyPressed(code)`: whether the key that produces the movie
// key code `code` is down now. The shell answers it from the keys its window has seen, through the
// device's key tables, once it runs; until then (and in programs without a shell) no key is down.
#pragma once

#include <cstdint>
#include <functional>

namespace qn::platform {

bool keyPressed(int32_t code);

using KeyStateHandler = std::function<bool(int32_t code)>;
void setKeyStateHandler(KeyStateHandler handler);  // an empty handler: no key is down

}  // namespace qn::platform
