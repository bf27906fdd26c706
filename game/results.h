// Measuring after every throw: each player's best distance to the target ball, the leader, the
// mini-map, today's record and the distance lines.
#pragma once

#include "game/rules.h"
#include "game/todays_record.h"

namespace qn::game {

class EngineScript;

void showResult(EngineScript& e);  // #showResult

// Today's record as kept from an earlier run, when it beats the one the game has.
void startTodayFrom(EngineScript& e, const TodaysRecord& record);

// The key of player index 1 to 4 in the movie global `distances`: #Dist1 to #Dist4.
inline Symbol distanceKey(int32_t index) { return Symbol{static_cast<SymbolNumber>(s::Dist1 + index - 1)}; }
// A player's distance that means "no ball measured".
inline constexpr int32_t kNoDistance = 1500;

// The distance shown for player index 1 to 4: its best ball's at the last measuring, void while
// none is measured.
Value distanceShown(int32_t index);

// Measures how far a ball lies from the target ball in "cm": the gap between them, weighed by the
// depth halfway between them (a gap far up the field counts more) and less the balls' radii. A
// ball that touches the target draws a small random distance once and keeps it in its oldNull,
// which measuring a ball clear of the target resets.
Value measureDistance(const Object& target, const Object& ball);

}  // namespace qn::game
