// Today's record: the best distance measured since the program started and who threw it, as the
// field "closestName" shows it. The shell may keep it for the rest of the calendar day: it hands
// the game that day's record before the first frame (`GameMovie::startTodayFrom`), and hears of
// every improvement (`GameObserver::todaysRecordImproved`).
#pragma once

#include <string>

namespace qn::game {

struct TodaysRecord {
  std::string name;     // the player's name as the result list shows it
  double distance = 0;  // in "cm", as measured
  bool operator==(const TodaysRecord&) const = default;
};

}  // namespace qn::game
