// What happens in the game, told by the rules themselves at the moment it happens, with the values
// the rule computed: for whoever follows the game from outside (the demo, the game report).
//
// Observers only listen. Every event is a record of plain values made for it, so nothing an
// observer keeps or changes reaches the game; the rules build an event only while
// someone listens, and never draw a random number or change a property for it, so a game with
// observers runs frame for frame as one without. Events arrive on the main thread, inside the
// movie's tick or input step that made them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/todays_record.h"

namespace qn::game {

// A number as a rule holds it, an integer or a float: 80 and 80.0 are told apart.
struct RuleNumber {
  double value = 0;
  bool isInteger = false;
};

// A place or a velocity on the field, in stage pixels (per frame), as the rules compute it.
struct FieldPoint {
  double x = 0;
  double y = 0;
};

// A ball where it lies.
struct BallPlace {
  int32_t player = 0;  // the owner's index in playerList; 0 for the target ball
  FieldPoint pos;
};

// A player as the result list shows them.
struct PlayerShown {
  int32_t index = 0;  // in playerList, from 1; 0 for the target ball's thrower
  int32_t slot = 0;   // 1 to 4, which fixes the colour; 0 for the target ball's thrower
  std::string name;   // empty for the target ball's thrower
  bool computer = false;
};

// The distance shown for each player of playerList: none for a player without one.
struct DistancesShown {
  std::vector<std::optional<double>> byPlayer;  // in playerList order

  // Player `index`'s, counted from 1; none for the target ball's owner 0.
  std::optional<double> of(int32_t index) const {
    if (index < 1 || index > static_cast<int32_t>(byPlayer.size())) return std::nullopt;
    return byPlayer[static_cast<size_t>(index) - 1];
  }
};

// A ball leaves the hand: the target ball (#throwWhiteRot) or a player's ball (#initThrow).
struct ThrowReleased {
  bool targetBall = false;
  PlayerShown thrower;
  FieldPoint from;          // the ball's position as the release left it
  FieldPoint velocity;      // its speed
  RuleNumber height;        // its height above the ground
  double verticalSpeed = 0;
  double strength = 0;      // what the release rule made of the swing
  double force = 0;         // the strength as it drives the ball
  double direction = 0;     // degrees: rot + extraRot for the target ball, the ball's rot otherwise
  bool upswing = true;      // released while the swing went up (always so for the target ball)
};

// Why a ball was taken off the field when it came to rest.
enum class Removal { fault, lost };  // short of the line; beyond an edge

struct BallRemoved {
  BallPlace ball;
  Removal why = Removal::lost;
};

// A throw has settled: the target ball when it stops; a player's ball once every ball rests, no
// effect runs and the distances are measured. `balls` is every ball on the field, the target ball
// first; `distances` and `leader` are as measured (empty and 0 for the target ball's throw).
struct ThrowSettled {
  bool targetBall = false;
  std::vector<BallPlace> balls;
  DistancesShown distances;
  int32_t leader = 0;  // the leader's index, 0 when nobody leads
};

// The end is over.
struct EndFinished {
  std::vector<PlayerShown> players;  // in playerList order
  DistancesShown distances;
  int32_t winner = 0;                // the winner's index; 0 for nobody (a draw, or no ball left)
  std::string text;                  // the turn text shown
  RuleNumber today;                  // the day's best distance
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
  virtual void throwSettled(const ThrowSettled&) {}
  virtual void endFinished(const EndFinished&) {}
  virtual void todaysRecordImproved(const TodaysRecord&) {}
};

// The observers of one game, each told every event in the order they were added.
//
// An observer may be added or removed at any time, also by an observer while it is told an
// event: one added then is told from the next event on; one removed then is told nothing more,
// not even the rest of the current event. An observer must be removed before it is destroyed.
class GameObservers {
 public:
  void add(GameObserver& observer);
  void remove(GameObserver& observer);

  // An event without a record: `tell(&GameObserver::menuShown)`.
  void tell(void (GameObserver::*event)()) {
    Telling telling(*this);
    for (size_t i = 0; i < telling.count; ++i)
      if (GameObserver* observer = observers_[i]) (observer->*event)();
  }
  // An event whose record `make()` builds, only when someone listens:
  // `tell(&GameObserver::ballRemoved, [&] { return BallRemoved{...}; })`.
  template <typename Record, typename Make>
  void tell(void (GameObserver::*event)(const Record&), const Make& make) {
    if (observers_.empty()) return;
    const Record record = make();
    Telling telling(*this);
    for (size_t i = 0; i < telling.count; ++i)
      if (GameObserver* observer = observers_[i]) (observer->*event)(record);
  }

 private:
  // While an event is told: the observers there were when it began; removed ones are left as
  // null until the outermost event ends.
  struct Telling {
    explicit Telling(GameObservers& told) : observers(told), count(told.observers_.size()) { ++told.depth_; }
    ~Telling() {
      if (--observers.depth_ == 0) observers.dropRemoved();
    }
    Telling(const Telling&) = delete;
    Telling& operator=(const Telling&) = delete;
    GameObservers& observers;
    const size_t count;
  };
  void dropRemoved();

  std::vector<GameObserver*> observers_;
  int depth_ = 0;
};

}  // namespace qn::game
