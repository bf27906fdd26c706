// The game's build id: 16 hexadecimal digits, the same for every edition built from the same
// sources and media (the desktop program, the browser's, another machine's), and another for any
// change to them. Devices of different builds might play different games from the same input,
// so a room takes only devices of the build that opened it.
#pragma once

#include <string_view>

namespace qn::net {

std::string_view buildId();

}  // namespace qn::net
