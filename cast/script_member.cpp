#include "cast/script_member.h"

#include "cast/cast.h"
#include "engine/movie.h"
#include "engine/script_instance.h"

namespace qn {

namespace {

SymbolNumber scriptTypeOfKind(int32_t kind) {
  return kind == 2 ? sym::movie : kind == 3 ? sym::parent : sym::score;
}

}  // namespace

ScriptMember::ScriptMember(Cast& cast, int32_t number, int32_t castLib, int32_t kind, std::string name)
    : CastMemberBase(cast, sym::script, number, castLib, std::move(name)), scriptType_(scriptTypeOfKind(kind)) {
  setLoaded(true);
  if (Movie* movie = cast.movie()) movie->createScriptInstance(script_, number, castLib);
  if (ScriptInstance* instance = scriptInstanceOf(script_)) instance->becomeScriptObjectOf(Value::share(this));
}

void ScriptMember::forgetScript() {
  if (ScriptInstance* instance = scriptInstanceOf(script_)) instance->forgetMember();
}

SpriteChannel* ScriptMember::createSprite(Movie& movie, const SpanRef& span) { return new SpriteChannel(movie, span); }

void ScriptMember::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::script: result = script_; return;
    case sym::scriptType: result = Value::symbol(scriptType_); return;
    default: CastMemberBase::getProperty(result, property); return;
  }
}

}  // namespace qn
