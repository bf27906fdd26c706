// The game as a compiled movie: its definition (settings, cast, score, symbols, script constants,
// label and movie-script handlers), the factories that make its script classes, and the movie
// globals its scripts share.
#pragma once

#include <array>
#include <functional>
#include <optional>

#include "cast/cast_rows.h"
#include "engine/movie.h"
#include "game/game_observer.h"
#include "game/script_constants.h"
#include "game/todays_record.h"

namespace qn::game {

// The values the movie script keeps between handlers (created void, set by startMovie).
struct MovieGlobals {
  Value engineObject;            // the one instance of the parent script "engine", also an actor
  Value distances;               // [#singlePlayer, #Dist1 .. #Dist4]: each player's best distance
  std::array<Value, 4> winCounters;  // games won by player slots 1 to 4
};

class GameMovie : public Movie {
 public:
  // Creates the members of the cast rows in the movie's cast (the cast subsystem's job).
  using MemberCreator = std::function<void(const CastRows&)>;

  GameMovie(const MovieServices& services, const CastRows& castRows, MemberCreator createMembers);

  bool defineMovie() override;
  Value createBehaviours(int32_t spanId, int32_t channel) override;
  void createScriptInstance(Value& result, int32_t memberNumber, int32_t castLib) override;
  void resetGlobals(Value& result) override;

  MovieGlobals& globals() { return globals_; }
  const MovieGlobals& globals() const { return globals_; }
  // Who follows the game's rule events.
  GameObservers& observers() { return observers_; }
  const ScriptConstants& constants() const { return constants_; }
  // The day's record kept from an earlier run, to start from instead of no record at all; given
  // before the first frame.
  void startTodayFrom(TodaysRecord record) { keptRecord_ = std::move(record); }
  const std::optional<TodaysRecord>& keptRecord() const { return keptRecord_; }

  // The movie the game's scripts run in.
  static GameMovie& running();

 private:
  const CastRows& castRows_;
  MemberCreator createMembers_;
  MovieGlobals globals_;
  ScriptConstants constants_;
  GameObservers observers_;
  std::optional<TodaysRecord> keptRecord_;
};

// The movie settings, as the definition sets them.
inline constexpr int32_t kStageWidth = 240, kStageHeight = 320;
inline constexpr int32_t kTempo = 30;
inline constexpr int32_t kChannelCount = 500;
inline constexpr const char* kMediaFileName = "MyMovie.qmf";
// castLib 2 member 1 holds the movie script's handlers.
inline constexpr int32_t kScriptCastLib = 2, kMovieScriptMember = 1;

}  // namespace qn::game
