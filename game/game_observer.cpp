#include "game/game_observer.h"

#include <algorithm>

namespace qn::game {

void GameObservers::add(GameObserver& observer) {
  if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end()) observers_.push_back(&observer);
}

void GameObservers::remove(GameObserver& observer) {
  auto found = std::find(observers_.begin(), observers_.end(), &observer);
  if (found == observers_.end()) return;
  if (depth_ > 0) *found = nullptr;  // the event being told skips it
  else observers_.erase(found);
}

void GameObservers::dropRemoved() {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), nullptr), observers_.end());
}

}  // namespace qn::game
