// The set-up screen: each slot's kind cycles human, computer, not playing; the done button makes
// the player records, the start order and a new end.
#include "game/game_flow.h"
#include "game/rules.h"
#include "game/stage_places.h"

namespace qn::game {
namespace {

constexpr const char* kComputerNames[] = {"Orvando", "Dael", "Tebrik", "Vessa"};
constexpr const char* kHumanNames[] = {"Player One", "Player Two", "Player Three", "Player Four"};
constexpr Symbol kSlotColours[] = {sym::blue, sym::red, s::yellow, sym::green};
constexpr int32_t kBallsPerPlayer = 3;

int32_t kindOf(int32_t slot) { return sprite(ch::slotKinds[slot - 1])[sym::memberNum].toInteger(); }
bool isActive(int32_t slot) { return kindOf(slot) != member::notPlaying; }

void makeSlot(int32_t slot, int32_t kind, const char* name) {
  sprite(ch::slotKinds[slot - 1])[sym::memberNum] = kind;
  field(fields::slotNames[slot - 1]) = name;
}

}  // namespace

void changeSlot(EngineScript& e, int32_t slot) {
  if (!e.inMode(s::setupPlayers) || slot < 1 || slot > kPlayerSlots) return;
  int32_t activeSlots = 0;
  for (int32_t other = 1; other <= kPlayerSlots; ++other) activeSlots += isActive(other) ? 1 : 0;
  switch (kindOf(slot)) {
    case member::human: makeSlot(slot, member::computer, kComputerNames[slot - 1]); break;
    case member::computer:
      if (activeSlots < 2) makeSlot(slot, member::human, kHumanNames[slot - 1]);
      else makeSlot(slot, member::notPlaying, "");
      break;
    default: makeSlot(slot, member::human, kHumanNames[slot - 1]); break;
  }
  playSound(sound::buttons, "bloop2");
}

void playersChosen(EngineScript& e) {
  if (!e.inMode(s::setupPlayers)) return;
  hide(ch::setupScreen);
  e[s::pmaxplayer] = sharedZero;
  sprite(ch::banner)[sym::blend] = 0;
  hide(ch::resultNames);
  hide(ch::resultBacks);
  hide(ch::distances);
  for (const char* line : fields::distances) field(line) = "";
  setAll(ch::leaderBanners, sym::blend, 0);
  e[s::playerList] = makeList({});

  for (int32_t slot = 1; slot <= kPlayerSlots; ++slot) {
    if (!isActive(slot)) continue;
    const int32_t index = e[s::pmaxplayer].toInteger() + 1;
    e[s::pmaxplayer] = Value(index);
    append(e[s::playerList], makeRecord({{s::namespr, Value(ch::resultNamesBase + index)},
                                         {s::ai, Value(kindOf(slot) == member::computer ? 1 : 0)},
                                         {s::ball, Value(kBallsPerPlayer)},
                                         {s::player, Value(slot)},
                                         {s::col, kSlotColours[slot - 1]},
                                         {s::back, Value(ch::resultBacksBase + index)},
                                         {s::lead, Value(ch::leaderBannersBase + index)},
                                         {s::dist, Value(ch::distancesBase + index)},
                                         {s::turn, Value(ch::turnMarkersBase + index)}}));
    sprite(ch::turnMarkersBase + index)[sym::memberNum] = member::turnMarkerBase + slot;
    sprite(ch::resultBacksBase + index)[sym::memberNum] = member::resultBackBase + slot;
    sprite(ch::resultNamesBase + index)[sym::member][sym::text] = field(fields::slotNames[slot - 1]).get();
  }
  sprite(ch::todaysBest)[sym::locH] = offStage::freeH;
  e[s::pMaxBall] = Value(kBallsPerPlayer);

  // The start order: entries taken at random from the indices until none is left.
  Value indices = makeList({});
  for (int32_t index = 1; index <= e[s::pmaxplayer].toInteger(); ++index) append(indices, Value(index));
  e[s::startPlayers] = makeList({});
  while (countOf(indices) > 0) {
    const int32_t taken = random(countOf(indices));
    append(e[s::startPlayers], indices.item(taken));
    deleteAt(indices, taken);
  }

  sprite(ch::playerCountShade)[sym::locV] = 55 + 64 * e[s::pmaxplayer].toInteger();
  Object pList(e[s::pList]);
  pList[s::mode] = s::Init;
  pList[s::waity] = now();
  hide(ch::menuScreen);
  sprite(ch::backToMenu)[sym::loc] = makePoint(onStage::backToMenuH, onStage::backToMenuV);
  sprite(ch::backToMenu)[sym::blend] = 100;
  playSound(sound::jingles, "bloop3");
}

}  // namespace qn::game
