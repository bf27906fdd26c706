// The top view of the field during aiming (showmap) and back (closemap).
#pragma once

namespace qn::game {

class EngineScript;

void openTopView(EngineScript& e);
void closeTopView(EngineScript& e);

}  // namespace qn::game
