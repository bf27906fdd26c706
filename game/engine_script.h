// The parent script "engine" (castLib 2 member 2): the one object that runs the game. startMovie
// makes it with `new` and puts it in the actorList, so it receives stepFrame once per frame;
// `pList` holds the game's mode and the aiming state. The buttons reach it through the movie
// global that holds it.
#pragma once

#include <array>
#include <cstddef>

#include "engine/script_instance.h"
#include "game/game_symbols.h"
#include "game/rules.h"

namespace qn::game {

// The engine object's properties, in the order the script declares them.
inline constexpr std::array kEngineProperties = {
    s::pList, s::l1, s::midden, s::hoogte, s::blinktime, s::graden, s::feffect, s::ftoday,
    s::startPlayers, s::pButton, s::pMaxBall, s::pBallList, s::pPlayer, s::pball, s::pmaxplayer,
    s::lAllBallStill, s::wurm, s::endwidth, s::playerList,
};

constexpr size_t engineSlotOf(SymbolNumber property) {
  for (size_t slot = 0; slot < kEngineProperties.size(); ++slot)
    if (kEngineProperties[slot] == property) return slot;
  return kEngineProperties.size();
}

class EngineScript final : public ScriptInstance {
 public:
  EngineScript() : ScriptInstance(0) {}
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;

  // One of the engine's own properties; `property` must be one of kEngineProperties.
  Value& operator[](Symbol property) { return slots_[engineSlotOf(property)]; }

  // The game's mode and aiming state, and the records of players and balls.
  Object pList() { return Object((*this)[s::pList]); }
  bool inMode(Symbol mode) { return pList()[s::mode].get() == mode; }
  void setMode(Symbol mode) { pList()[s::mode] = mode; }
  Object playerAt(int32_t index) { return Object((*this)[s::playerList].item(index)); }
  Object ballAt(int32_t index) { return Object((*this)[s::pBallList].item(index)); }
  // The leader's player index (l1), 0 while nobody leads.
  int32_t leader() { return (*this)[s::l1].toInteger(); }
  void setLeader(int32_t index) { (*this)[s::l1] = index == 0 ? sharedZero : Value(index); }

  // Whether the stylus was down at the previous frame step (for the stars at its release).
  bool stylusWasDown() const { return stylusWasDown_; }
  void setStylusWasDown(bool down) { stylusWasDown_ = down; }

  // The engine object of the running game (void-safe: null before startMovie made it).
  static EngineScript* running();

 protected:
  Value* ownProperty(SymbolNumber property) override {
    size_t slot = engineSlotOf(property);
    return slot < slots_.size() ? &slots_[slot] : nullptr;
  }

 private:
  Value construct();
  Value stepFrame();
  void stackChannels();

  std::array<Value, kEngineProperties.size()> slots_;
  bool stylusWasDown_ = false;
};

}  // namespace qn::game
