// What a person's game keeps for them between runs: today's record for the rest of the calendar
// day (a phone drops a page in the background at any time, and the record would go with it), and
// whether the sound is muted. Kept only for a game a person plays in a window: runs with --demo,
// --replay, --frames or --headless neither read nor write it, so they repeat exactly.
//
// The kept text, one value a line:
//
//   boules kept state 1
//   day 2026-12-07                 the local date the record was made on
//   record 12.5 Player 1           the distance (exact) and the player's name
//   muted 0|1
//
// A text that does not read as this is ignored whole, with a line in the debug log.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "game/game_observer.h"

namespace qn {

struct KeptValues {
  std::string day;  // YYYY-MM-DD; empty while no record is kept
  std::optional<game::TodaysRecord> record;
  bool muted = false;
  bool operator==(const KeptValues&) const = default;
};

// Nothing (and the reason in `problem`) when the text is damaged.
std::optional<KeptValues> parseKeptState(std::string_view text, std::string& problem);
std::string formatKeptState(const KeptValues& values);

// Today as the kept state names days: the local date, YYYY-MM-DD.
std::string localDate();

class KeptState final : public game::GameObserver {
 public:
  // Reads what was kept under `name` (the program's name), after clearing what stores cut short
  // by a crash left behind. `today` answers the date whenever asked: at the start it decides
  // whether the kept record still counts, and a record is kept for the day it was made on, which
  // is a later one than the start's when a run goes past midnight.
  KeptState(std::string name, std::function<std::string()> today);

  const std::optional<game::TodaysRecord>& todaysRecord() const { return values_.record; }
  bool muted() const { return values_.muted; }
  void setMuted(bool muted);
  void todaysRecordImproved(const game::TodaysRecord& record) override;
  // Another run stored its text (another page of the browser edition's site). A page's store
  // may rest on a read from before another page's store reached it, and so drop that page's
  // better record: the page whose record it was stores it again, keeping the other's change.
  void storedElsewhere();

 private:
  // Stores what is kept with `change` made to it: another run may have stored its own change
  // meanwhile (its mute setting, a better record of the day), which stays. Nothing is written
  // when the change leaves what is kept as it is.
  void store(const std::function<void(KeptValues&)>& change);

  std::string name_;
  std::function<std::string()> today_;
  KeptValues values_;
};

}  // namespace qn
