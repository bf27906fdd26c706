#include "game/game_movie.h"

#include "game/game_symbols.h"
#include "game/frame_spans.h"
#include "game/script_factory.h"
#include "script/list_object.h"

namespace qn::game {

GameMovie::GameMovie(const MovieServices& services, const CastRows& castRows, MemberCreator createMembers)
    : Movie(services), castRows_(castRows), createMembers_(std::move(createMembers)) {}

GameMovie& GameMovie::running() { return static_cast<GameMovie&>(*Movie::current()); }

bool GameMovie::defineMovie() {
  stageWidth_ = kStageWidth;
  stageHeight_ = kStageHeight;
  stageColor_ = 0;
  tempo_ = kTempo;
  lastFrame_ = kGameFrame;
  channelCount_ = kChannelCount;
  colorDepth_ = 0;  // the load step takes the display's depth
  idleHandlerPeriod_ = 1;
  rolloverPeriod_ = 1;
  orientation_ = 0;
  debugLogEnabled_ = false;
  mediaFileName_ = kMediaFileName;
  prefer565_ = true;

  createMembers_(castRows_);
  mediaFileSize_ = castRows_.mediaFileSize;
  addFrameSpans(*this);
  registerGameSymbols();
  constants_ = makeScriptConstants();
  registerLabel(kGameFrame, kGameLabel);
  for (SymbolNumber handler : {sym::prepareMovie, sym::startMovie, sym::stopMovie})
    registerMovieHandler(handler, kScriptCastLib, kMovieScriptMember);
  return Movie::defineMovie();
}

Value GameMovie::createBehaviours(int32_t, int32_t channel) {
  const int32_t behaviour = behaviourOf(channel);
  if (behaviour == 0) return Value();
  Value instance;
  createScriptInstance(instance, behaviour, kScriptCastLib);
  return makeList({instance});
}

void GameMovie::createScriptInstance(Value& result, int32_t memberNumber, int32_t castLib) {
  result = createScript(memberNumber, castLib);
}

void GameMovie::resetGlobals(Value& result) {
  globals_ = MovieGlobals{};
  result = Value();
}

}  // namespace qn::game
