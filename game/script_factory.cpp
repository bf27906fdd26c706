#include "game/script_factory.h"

#include "game/button_behaviour.h"
#include "game/engine_script.h"
#include "game/frame_loop.h"
#include "game/movie_script.h"

namespace qn::game {

Value createScript(int32_t memberNumber, int32_t castLib) {
  if (castLib != 2) return sharedZero;
  switch (memberNumber) {
    case script::movieScript: return Value::adopt(new MovieScript());
    case script::engine: return Value::adopt(new EngineScript());
    case script::frameLoop: return Value::adopt(new FrameLoop());
    case script::startgame:
    case script::clickPow:
    case script::setupDone:
    case script::changeStatus:
    case script::gomenu:
    case script::goscores:
    case script::gohelp:
    case script::worm:
    case script::showmap:
    case script::closemap: return Value::adopt(new ButtonBehaviour(memberNumber));
  }
  return sharedZero;
}

}  // namespace qn::game
