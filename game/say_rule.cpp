#include "game/say_rule.h"

#include "game/play_from_outside.h"
#include "game/rules.h"

namespace qn::game {

namespace {

// The modes of a person's turn, from the aiming to the measuring of the throw.
constexpr Symbol kTurnModes[] = {s::setRot, s::showMap, s::setpower, s::initThrow, s::rollBall, s::showResult, s::waitplayer};

}  // namespace

int32_t seatWithTheSay(const Movie& movie) {
  const Value engine = engineObjectOf(movie);
  const Value mode = engine.getProperty(s::pList).getProperty(s::mode);
  bool inTurn = false;
  for (Symbol turnMode : kTurnModes) inTurn = inTurn || mode == turnMode;
  if (!inTurn) return 0;
  const Value players = engine.getProperty(s::playerList);
  const int32_t index = engine.getProperty(s::pPlayer).toInteger();
  if (index < 1 || index > countOf(players)) return 0;
  const Value player = players.item(index);
  if (player.getProperty(s::ai).toInteger() != 0) return 0;
  const int32_t seat = player.getProperty(s::player).toInteger();
  return seat >= 1 && seat <= kPlayerSlots ? seat : 0;
}

}  // namespace qn::game
