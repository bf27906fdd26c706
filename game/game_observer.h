// What happens in the game, told by the rules themselves at the moment it happens, with the values
// the rule computed: for whoever follows the game from outside (the demo, the game report).
//
// Observers only listen. Every event is a record of plain values and copies made for it, so
// nothing an observer keeps or changes reaches the game; the rules build an event only while
// someone listens, and never draw a random number or change a property for it, so a game with
// observers runs frame for frame as one without. Events arrive on the main thread, inside the
// movie's tick or input step that made them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/todays_record.h"
#include "script/value.h"

namespace qn::game {

// A ball where it lies.
struct BallPlace {
  int32_t player = 0;  // the owner's index in playerList; 0 for the target ball
  Value pos;           // a copy of the position, integer or float as the rules left it
};

// A player as the result list shows them.
struct PlayerShown {
  int32_t index = 0;  // in playerList, from 1; 0 for the target ball's thrower
  int32_t slot = 0;   // 1 to 4, which fixes the colour; 0 for the target ball's thrower
  std::string name;   // empty for the target ball's thrower
  bool computer = false;
};

// A ball leaves the hand: the target ball (#throwWhiteRot) or a player's ball (#initThrow).
struct ThrowReleased {
  bool targetBall = false;
  PlayerShown thrower;
  Value from, speed;     // the ball's position and velocity as the release left them (copies)
  Value height;          // its deltaz then
  double zspeed = 0;     // its vertical speed
  double E = 0;          // the throw's strength
  double kracht = 0;     // its force
  double direction = 0;  // degrees: rot + extraRot for the target ball, the ball's rot otherwise
  bool upswing = true;   // released while the swing went up (always so for the target ball)
};

// Why a ball was taken off the field when it came to rest.
enum class Removal { fault, lost };  // short of the line; beyond an edge

struct BallRemoved {
  BallPlace ball;
  Removal why = Removal::lost;
};

// The balls of a throw have stopped: the target ball's throw, or a player's once every ball rests
// and no effect runs. `balls` is every ball on the field, the target ball first.
struct BallsAtRest {
  bool targetBall = false;
  std::vector<BallPlace> balls;
};

// After a player's throw, the distances are measured.
struct ResultMeasured {
  std::vector<Value> distances;  // [index - 1]: the distance shown for that player, void for none
  int32_t leader = 0;            // the leader's index, 0 when nobody leads
};

// The end is over.
struct EndFinished {
  std::vector<PlayerShown> players;  // in playerList order
  std::vector<Value> distances;      // as in ResultMeasured
  int32_t winner = 0;                // the winner's index; 0 for nobody (a draw, or no ball left)
  std::string text;                  // the turn text shown
  Value today;                       // the day's best distance
};

// Every event has an empty default, so an observer overrides only what it follows.
class GameObserver {
 public:
  virtual ~GameObserver() = default;

  virtual void menuShown() {}      // the menu is up: at the program's start and after every end
  virtual void setUpShown() {}     // the set-up screen is up (START was tapped)
  virtual void endStarted() {}     // a new end begins (#Init)
  virtual void ballsCollided() {}  // a moving ball knocked another one
  virtual void throwReleased(const ThrowReleased&) {}
  virtual void ballRemoved(const BallRemoved&) {}
  virtual void ballsAtRest(const BallsAtRest&) {}
  virtual void resultMeasured(const ResultMeasured&) {}
  virtual void endFinished(const EndFinished&) {}
  virtual void todaysRecordImproved(const TodaysRecord&) {}
};

// The observers of one game, each told every event in the order they were added. An observer
// stays added until it is removed; it must be removed before it is destroyed.
class GameObservers {
 public:
  void add(GameObserver& observer);
  void remove(GameObserver& observer);

  // An event without a record: `tell(&GameObserver::menuShown)`.
  void tell(void (GameObserver::*event)()) const {
    for (GameObserver* observer : observers_) (observer->*event)();
  }
  // An event whose record `make()` builds, only when someone listens:
  // `tell(&GameObserver::ballRemoved, [&] { return BallRemoved{...}; })`.
  template <typename Record, typename Make>
  void tell(void (GameObserver::*event)(const Record&), const Make& make) const {
    if (observers_.empty()) return;
    const Record record = make();
    for (GameObserver* observer : observers_) (observer->*event)(record);
  }

 private:
  std::vector<GameObserver*> observers_;
};

}  // namespace qn::game
