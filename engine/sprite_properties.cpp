// The script side of a sprite: its methods, and its properties with their lock and change-bit
// rules. Behaviours come first: they see reads, writes and unknown methods before the sprite.
#include <cmath>

#include "engine/cast_member.h"
#include "engine/geometry_values.h"
#include "script/handle_with.h"
#include "engine/movie.h"
#include "engine/script_instance.h"
#include "engine/sprite_channel.h"
#include "engine/sprite_ref.h"
#include "script/list_object.h"
#include "script/scalars.h"
#include "script/symbol_object.h"

namespace qn {

namespace {

template <class T>
bool assign(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

// The argument of `intersects` and `within`: a channel number or a sprite reference.
SpriteChannel* otherSprite(Movie& movie, const Value& value) {
  if (value.isNumber()) return &movie.sprite(value.toInteger());
  if (value.is(sym::sprite)) return spriteOf(value);
  return nullptr;
}

}  // namespace

template <class T>
void SpriteChannel::setLocked(Lock lock, T& field, T value, int32_t bits) {
  lockFlags.set(lock);
  if (assign(field, value)) changeFlags |= bits;
}

void SpriteChannel::moveTo(int32_t h, int32_t v) {
  if (h == locH && v == locV) return;
  if (quadMovesWithLoc) quad.moveBy(static_cast<float>(int64_t{h} - locH), static_cast<float>(int64_t{v} - locV));
  locH = h;
  locV = v;
  changeFlags |= change::redraw;
}

bool SpriteChannel::setIntProperty(SymbolNumber property, int32_t value) {
  switch (property) {
    case sym::locH:
      lockFlags.set(Lock::locH);
      moveTo(value, locV);
      return true;
    case sym::locV:
      lockFlags.set(Lock::locV);
      moveTo(locH, value);
      return true;
    case sym::locZ:
      if (assign(locZ, value)) changeFlags |= change::locZ;
      return true;
    case sym::width:
    case sym::height: {
      bool isWidth = property == sym::width;
      int32_t& field = isWidth ? width : height;
      lockFlags.set(isWidth ? Lock::width : Lock::height);
      lockFlags.set(Lock::stretch);
      if (field == value && stretch) return true;
      stretch = true;
      field = value;
      changeFlags |= change::redraw;
      return true;
    }
    case sym::stretch: setLocked(Lock::stretch, stretch, value != 0, change::redraw); return true;
    case sym::ink: setLocked(Lock::ink, ink, value, change::redraw); return true;
    case sym::castLibNum: setLocked(Lock::castLibNum, castLibNum, value, change::member); return true;
    case sym::memberNum:
    case sym::member: setLocked(Lock::memberNum, memberNum, value, change::member); return true;
    case sym::blendLevel: setLocked(Lock::blendLevel, blendLevel, value, change::redraw); return true;
    case sym::blend:
      setLocked(Lock::blendLevel, blendLevel, static_cast<int32_t>(int64_t{value} * 255 / 100), change::redraw);
      return true;
    case sym::color: setLocked(Lock::color, color, static_cast<uint32_t>(value), change::redraw); return true;
    case sym::bgColor: setLocked(Lock::bgColor, bgColor, static_cast<uint32_t>(value), change::redraw); return true;
    case sym::flipH: setLocked(Lock::flipH, flipH, value != 0, change::redraw); return true;
    case sym::flipV: setLocked(Lock::flipV, flipV, value != 0, change::redraw); return true;
    case sym::lineSize: setLocked(Lock::lineSize, lineSize, value, change::redraw); return true;
    case sym::puppet:
      puppet = value != 0;
      if (!puppet) {
        lockFlags = LockFlags{};
        quadMovesWithLoc = false;
        forceApply = true;
      }
      return true;
    case sym::visible:
      movie->setChannelVisible(channel(), value != 0);
      changeFlags |= change::redraw;
      return true;
    default: return false;
  }
}

void SpriteChannel::writeRect(IntRect rect) {
  for (Lock lock : {Lock::stretch, Lock::locH, Lock::locV, Lock::width, Lock::height}) lockFlags.set(lock);
  stretch = true;
  if (rect.left > rect.right) std::swap(rect.left, rect.right);
  if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
  width = rect.width();
  height = rect.height();
  CastMember* shown = movie->cast().find(memberKeyNamed());
  if (shown && shown->type() == sym::bitmap) {
    // The regPoint keeps its place relative to the stretched member, in 32-bit floats; a place
    // beyond the integers saturates.
    IntPoint reg = shown->regPoint();
    float memberWidth = static_cast<float>(shown->width() ? shown->width() : 1);
    float memberHeight = static_cast<float>(shown->height() ? shown->height() : 1);
    locH = truncateToInteger(static_cast<float>(rect.left) + static_cast<float>(width) * static_cast<float>(reg.x) / memberWidth);
    locV = truncateToInteger(static_cast<float>(rect.top) + static_cast<float>(height) * static_cast<float>(reg.y) / memberHeight);
  } else {
    locH = rect.left;
    locV = rect.top;
  }
  changeFlags |= change::redraw;
}

void SpriteChannel::setMemberFrom(const Value& value) {
  CastMember* named = castMemberOf(value);
  if (value.is(sym::string)) named = movie->cast().findByName(stringOf(value));
  if (named) {
    setLocked(Lock::castLibNum, castLibNum, named->castLib(), change::member);
    setLocked(Lock::memberNum, memberNum, named->number(), change::member);
  } else if (value.is(sym::sprite)) {
    setLocked(Lock::memberNum, memberNum, static_cast<const SpriteRef*>(value.object())->channel(), change::member);
  }
}

// The writes that need more than an integer. Wrong kinds are ignored but count as handled.
bool SpriteChannel::setValueProperty(SymbolNumber property, const Value& value) {
  switch (property) {
    case sym::loc:
      if (auto point = pointFrom(value)) {
        lockFlags.set(Lock::locH);
        lockFlags.set(Lock::locV);
        moveTo(point->x, point->y);
      }
      return true;
    case sym::rect:
      if (auto rect = rectFrom(value)) writeRect(*rect);
      return true;
    case sym::left:
    case sym::top:
    case sym::right:
    case sym::bottom:
      if (value.isIntegerLike()) {
        IntRect rect = spriteRect;
        int32_t side = value.toInteger();
        if (property == sym::left) rect.left = side;
        else if (property == sym::top) rect.top = side;
        else if (property == sym::right) rect.right = side;
        else rect.bottom = side;
        writeRect(rect);
      }
      return true;
    case sym::color:
    case sym::bgColor:
      if (auto rgb = rgbFrom(value))
        setLocked(property == sym::color ? Lock::color : Lock::bgColor, property == sym::color ? color : bgColor,
                  *rgb, change::redraw);
      return true;
    case sym::rotation:
    case sym::skew: {
      float degrees = value.is(sym::string) ? 0.0f : static_cast<float>(value.toFloat());
      if (property == sym::rotation) setLocked(Lock::rotation, rotation, degrees, change::redraw);
      else setLocked(Lock::skew, skew, degrees, change::redraw);
      return true;
    }
    case sym::member: setMemberFrom(value); return true;
    case sym::scriptInstanceList:
      scriptInstanceList = value;
      recomputeEventMask();
      return true;
    case sym::quad:
      if (auto corners = quadFrom(value)) {
        quad = *corners;
        quadMode = quadMovesWithLoc = true;
        for (Lock lock : {Lock::locH, Lock::locV, Lock::stretch, Lock::width, Lock::height, Lock::rotation, Lock::skew})
          lockFlags.set(lock);
        changeFlags |= change::redraw;
      }
      return true;
    case sym::startFrame:
    case sym::endFrame:
    case sym::channel:
      return true;  // read only
    default: return false;
  }
}

bool SpriteChannel::setProperty(SymbolNumber property, const Value& value) {
  Value keep = Value::share(this);  // applying the change may replace this sprite in its channel
  if (ListObject* behaviours = listOf(scriptInstanceList))
    for (const Value& item : *behaviours)
      if (item.setProperty(property, value)) return true;
  bool handled = value.isIntegerLike() && setIntProperty(property, value.toInteger());
  if (!handled) handled = setValueProperty(property, value);
  if (changeFlags != 0) movie->applyChanges(*this, changeFlags, false);
  return handled;
}

void SpriteChannel::readBuiltin(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::locH: result = Value(locH); return;
    case sym::locV: result = Value(locV); return;
    case sym::locZ: result = Value(locZ); return;
    case sym::width: result = Value(stretch ? width : naturalWidth); return;
    case sym::height: result = Value(stretch ? height : naturalHeight); return;
    case sym::loc: result = pointValue(IntPoint{locH, locV}); return;
    case sym::rect: result = rectValue(spriteRect); return;
    case sym::top: result = Value(spriteRect.top); return;
    case sym::left: result = Value(spriteRect.left); return;
    case sym::bottom: result = Value(spriteRect.bottom); return;
    case sym::right: result = Value(spriteRect.right); return;
    case sym::stretch: result = Value(int32_t{stretch}); return;
    case sym::ink: result = Value(ink); return;
    case sym::castLibNum: result = Value(castLibNum); return;
    case sym::memberNum: result = Value(memberNum); return;
    case sym::blendLevel: result = Value(blendLevel); return;
    case sym::blend: result = Value(static_cast<int32_t>(int64_t{blendLevel} * 100 / 255)); return;
    case sym::color: result = rgbValue(color); return;
    case sym::bgColor: result = rgbValue(bgColor); return;
    case sym::rotation: result = Value(static_cast<double>(rotation)); return;
    case sym::skew: result = Value(static_cast<double>(skew)); return;
    case sym::flipH: result = Value(int32_t{flipH}); return;
    case sym::flipV: result = Value(int32_t{flipV}); return;
    case sym::lineSize: result = Value(lineSize); return;
    case sym::puppet: result = Value(int32_t{puppet}); return;
    case sym::startFrame: result = Value(span->startFrame); return;
    case sym::endFrame: result = Value(span->endFrame); return;
    case sym::channel: result = Value(span->channel); return;
    case sym::visible: result = Value(int32_t{movie->channelVisible(channel())}); return;
    case sym::member:
      if (CastMember* shown = movie->cast().find(memberKeyNamed())) result = Value::share(shown);
      else result = movie->cast().emptyMember(memberNum, castLibNum);
      return;
    case sym::scriptInstanceList:
      eventMask = event::all;  // the list can now change from outside
      result = scriptInstanceList;
      return;
    case sym::quad: result = quadValue(quad); return;
    default: result = Value(); return;
  }
}

void SpriteChannel::getProperty(Value& result, SymbolNumber property) {
  if (property == sym::ilk) {
    result = Value::symbol(sym::sprite);
    return;
  }
  if (ListObject* behaviours = listOf(scriptInstanceList)) {
    for (const Value& item : *behaviours) {
      result = item.getProperty(property);
      if (!result.isVoid()) return;
    }
  }
  readBuiltin(result, property);
}

// Calls `handler` on every behaviour; `me` is the behaviour itself, or `first` for methods
// called on the sprite. The answer is the last behaviour's flag.
bool SpriteChannel::sendToBehaviours(SymbolNumber handler, const Value& first, bool meIsInstance, int argc,
                                     Value* const* argv, Value& result) {
  Value keep = Value::share(this);
  Value list = scriptInstanceList;  // a handler may replace the list while it runs
  ListObject* behaviours = listOf(list);
  if (!behaviours) return false;
  bool handled = false;
  for (int32_t i = 1; i <= behaviours->size(); ++i) {
    Value item = behaviours->valueAt(i);
    ScriptInstance* instance = scriptInstanceOf(item);
    if (!instance) continue;
    handled = handleWith(*instance, handler, meIsInstance ? item : first, argc, argv, result);
  }
  return handled;
}

// Any other method goes to the behaviours, with a sprite reference as `me`.
bool SpriteChannel::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  if (methods().find(method) == nullptr)
    return sendToBehaviours(method, movie->spriteRef(channel()), false, argc, argv, result);
  return methods().answer(*this, method, argc, argv, result);
}

namespace {

// intersects and within: a channel number or a sprite reference; anything else answers nothing.
template <bool (SpriteChannel::*Test)(const SpriteChannel&) const>
bool testAgainst(SpriteChannel& sprite, const MethodCall& call) {
  if (SpriteChannel* other = otherSprite(*sprite.movie, call[0])) call.answer = Value(int32_t{(sprite.*Test)(*other)});
  return true;
}

// A point of the member's image and the stage point it is drawn at, each way; void where there is
// none, and a non-point argument answers nothing. Coordinates beyond the integers saturate.
template <bool ToStage>
bool mapPoint(SpriteChannel& sprite, const MethodCall& call) {
  std::optional<IntPoint> point = pointFrom(call[0]);
  if (!point) return true;
  call.answer = Value();
  const CastMember* member = sprite.member;
  if (!member || member->width() <= 0 || member->height() <= 0) return true;
  const double memberWidth = member->width(), memberHeight = member->height();
  if (ToStage) {
    if (point->x < 0 || point->y < 0 || point->x > member->width() || point->y > member->height()) return true;
    FloatPoint stage = quadPointAt(sprite.effectiveQuad(), point->x / memberWidth, point->y / memberHeight);
    call.answer = pointValue(IntPoint{truncateToInteger(stage.x), truncateToInteger(stage.y)});
  } else if (auto uv = quadCoordinatesOf(sprite.effectiveQuad(), point->x, point->y)) {
    call.answer =
        pointValue(IntPoint{truncateToInteger((*uv)[0] * memberWidth), truncateToInteger((*uv)[1] * memberHeight)});
  }
  return true;
}

}  // namespace

const MethodTable<SpriteChannel, bool>& SpriteChannel::methods() {
  static constexpr auto kMethods = std::to_array<Method<SpriteChannel, bool>>({
      {sym::intersects, Arity::exactly(1), testAgainst<&SpriteChannel::intersects>},
      {sym::within, Arity::exactly(1), testAgainst<&SpriteChannel::within>},
      {sym::ilk, Arity::any(),
       [](SpriteChannel&, const MethodCall& call) {
         call.answer = Value::symbol(sym::sprite);
         return true;
       }},
      {sym::mapMemberToStage, Arity::exactly(1), mapPoint<true>},
      {sym::mapStageToMember, Arity::exactly(1), mapPoint<false>},
      // The handler named by the first argument, to every behaviour with itself as `me`.
      {sym::sendSprite, Arity::atLeast(1),
       [](SpriteChannel& sprite, const MethodCall& call) {
         const SymbolNumber handler = symbolOf(call[0]);
         return handler != 0 && sprite.sendToBehaviours(handler, Value(), true, call.argc - 1, call.argv + 1, call.answer);
       }},
  });
  static constexpr auto kTable = MethodTable<SpriteChannel, bool>::bind(kMethods);
  return kTable;
}

}  // namespace qn
