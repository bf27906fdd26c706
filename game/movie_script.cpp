#include "game/movie_script.h"

#include "engine/cast_table.h"
#include "game/channels.h"
#include "game/game_movie.h"
#include "game/game_symbols.h"
#include "script/handler_call.h"
#include "script/list_object.h"
#include "script/symbol_prop_list_object.h"

namespace qn::game {
namespace {

void setText(GameMovie& movie, const char* field, const Value& text) {
  movie.cast().memberOf(Value(field)).setProperty(sym::text, text);
}

void showChannels(GameMovie& movie, ChannelRange range, bool visible) {
  for (int32_t channel = range.first; channel <= range.last; ++channel) movie.setChannelVisible(channel, visible);
}

void setLocZ(GameMovie& movie, int32_t channel, int32_t locZ) {
  movie.sprite(channel).setProperty(sym::locZ, Value(locZ));
}

}  // namespace

bool MovieScript::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  switch (method) {
    case sym::prepareMovie: return runHandler(&MovieScript::prepareMovie, *this, argc, argv, result);
    case sym::startMovie: return runHandler(&MovieScript::startMovie, *this, argc, argv, result);
    case sym::stopMovie: return runHandler(&MovieScript::stopMovie, *this, argc, argv, result);
  }
  return false;
}

Value MovieScript::prepareMovie() {
  GameMovie& movie = GameMovie::running();
  Value ignored;
  movie.resetGlobals(ignored);
  movie.setProperty(sym::actorList, makeList({}));
  movie.setChannelVisible(ch::menuPicture, true);
  return Value();
}

Value MovieScript::startMovie() {
  GameMovie& movie = GameMovie::running();
  const ScriptConstants& constant = movie.constants();
  MovieGlobals& globals = movie.globals();
  setText(movie, fields::slotNames[0], constant.playerOne);
  setText(movie, fields::slotNames[1], constant.dael);
  setText(movie, fields::slotNames[2], constant.emptyText);
  setText(movie, fields::slotNames[3], constant.emptyText);
  globals.distances = makeRecord({{s::singlePlayer, sharedZero},
                                  {s::Dist1, constant.zeroFloat},
                                  {s::Dist2, constant.zeroFloat},
                                  {s::Dist3, constant.zeroFloat},
                                  {s::Dist4, constant.zeroFloat}});
  showChannels(movie, ch::setupScreen, false);
  showChannels(movie, ch::resultList, false);
  movie.goToFrame(constant.gameLabel);
  showChannels(movie, ch::menuStartShown, true);
  for (Value& counter : globals.winCounters) counter = sharedZero;
  for (int32_t channel = ch::menuWinsShown.first; channel <= ch::menuWinsShown.last; ++channel) {
    movie.setChannelVisible(channel, true);
    setLocZ(movie, channel, kMenuLayer);
    movie.sprite(channel).setProperty(sym::blend, Value(100));
  }
  for (const char* field : fields::wins) setText(movie, field, constant.zeroText);
  movie.setChannelVisible(ch::helpPage, true);

  Value engineScript = movie.scriptOf(constant.engineScript);
  Value* newArguments[] = {&engineScript};
  movie.callGlobal(movie, globals.engineObject, sym::new_, 1, newArguments);
  if (ListObject* actors = listOf(movie.actorList())) actors->append(globals.engineObject);
  movie.playSound(sound::music, constant.menuTune);

  for (const ChannelLayer& layer : kMenuStacking) setLocZ(movie, layer.channel, layer.locZ);
  showChannels(movie, {ch::startHotSpot, ch::menuStartShown.last}, true);
  return Value();
}

Value MovieScript::stopMovie() {
  GameMovie& movie = GameMovie::running();
  setText(movie, "versie", movie.constants().emptyText);
  return Value();
}

}  // namespace qn::game
