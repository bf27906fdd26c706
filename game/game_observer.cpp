#include "game/game_observer.h"

#include <algorithm>

namespace qn::game {

void GameObservers::add(GameObserver& observer) {
  if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end()) observers_.push_back(&observer);
}

void GameObservers::remove(GameObserver& observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

}  // namespace qn::game
