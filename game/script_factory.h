// The game's script classes by member: which compiled class belongs to a script member of
// castLib 2, and a new object of it.
#pragma once

#include <cstdint>

#include "script/value.h"

namespace qn::game {

// The script members of castLib 2.
namespace script {
inline constexpr int32_t movieScript = 1, engine = 2, frameLoop = 3, startgame = 4, clickPow = 7,
                         setupDone = 8, changeStatus = 9, gomenu = 12, goscores = 15, gohelp = 16,
                         worm = 17, showmap = 24, closemap = 25;
}

// A new object of the class of member (number, castLib), or the integer 0 when no class belongs
// to that member.
Value createScript(int32_t memberNumber, int32_t castLib);

}  // namespace qn::game
