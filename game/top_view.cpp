#include "game/top_view.h"

namespace qn::game {

void openTopView(EngineScript&) {}
void closeTopView(EngineScript&) {}

}  // namespace qn::game
