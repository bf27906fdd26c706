// Where the game puts things: the places on the stage that more than one rule uses, and the
// places off stage where hidden pictures and unused channels wait. The pools tell a free channel
// by its place, so every rule that frees or takes one uses these.
#pragma once

#include <cstdint>

namespace qn::game {

namespace offStage {
inline constexpr int32_t freeH = -800;      // a free pool channel; a picture put away
inline constexpr int32_t takenH = -600;     // a pool channel taken and not placed yet
inline constexpr int32_t iconsH = -600;     // the mini-map's ball icons between measurings
inline constexpr int32_t buttonsH = -200;   // buttons out of reach while the top view shows
inline constexpr int32_t fadedH = -400;     // the worm after it was hit, the aiming arrow once faded
inline constexpr int32_t floorRingH = -700;
inline constexpr int32_t newBallH = -200;   // a new ball record's position until it is placed
}  // namespace offStage

namespace onStage {
inline constexpr int32_t topViewButtonH = 22;  // while a person aims
inline constexpr int32_t todaysBestH = 22;     // the name of today's best player on the set-up screen
inline constexpr int32_t aimButtonsV = 298;    // walk, power and their glows while a person aims
inline constexpr int32_t backToMenuH = 20, backToMenuV = 307;  // bottom left while a game runs
inline constexpr int32_t menuButtonH = 120, menuButtonV = 239;  // the same button as the menu's quit
}  // namespace onStage

}  // namespace qn::game
