// Event delivery and messaging: frame events, stylus and key input, rollovers, `sendSprite`,
// `sendAllSprites`, `call`, `callGlobal` and making instances of scripts.
#include "engine/cast_member.h"
#include "script/handle_with.h"
#include "engine/movie.h"
#include "engine/script_instance.h"
#include "script/list_object.h"
#include "script/symbol_object.h"

namespace qn {

namespace {

// Restores `currentSpriteNum` when a message to other sprites is done.
class CurrentSpriteGuard {
 public:
  explicit CurrentSpriteGuard(int32_t& current) : current_(current), saved_(current) {}
  ~CurrentSpriteGuard() { current_ = saved_; }
  CurrentSpriteGuard(const CurrentSpriteGuard&) = delete;
  CurrentSpriteGuard& operator=(const CurrentSpriteGuard&) = delete;

 private:
  int32_t& current_;
  int32_t saved_;
};

}  // namespace

bool Movie::deliverToSprite(SpriteChannel& sprite, EventMask event) {
  Value keep = Value::share(&sprite);
  Value list = sprite.scriptInstanceList;  // a handler may replace the list while it runs
  ListObject* behaviours = listOf(list);
  if (!behaviours) return false;
  const SymbolNumber handler = eventSymbol(event);
  bool handled = false;
  for (int32_t i = 1; i <= behaviours->size(); ++i) {
    Value item = behaviours->valueAt(i);
    ScriptInstance* instance = scriptInstanceOf(item);
    if (!instance) continue;
    instance->setSpriteNum(sprite.channel());
    Value ignored;
    handled |= handleWith(*instance, handler, item, 0, nullptr, ignored);
  }
  return handled;
}

bool Movie::deliverToFrameScript(EventMask event) {
  SpriteChannel* frameScript = spriteIn(0);
  if (!frameScript) return false;
  currentSpriteNum_ = 0;
  return deliverToSprite(*frameScript, event);
}

void Movie::deliverFrameEvent(EventMask event) {
  for (size_t channel = 1; channel < channels_.size(); ++channel) {
    SpriteChannel* sprite = spriteIn(static_cast<int32_t>(channel));
    if (!sprite || !(sprite->eventMask & event)) continue;
    currentSpriteNum_ = static_cast<int32_t>(channel);
    deliverToSprite(*sprite, event);
  }
  currentSpriteNum_ = 0;
  SpriteChannel* frameScript = spriteIn(0);
  bool handled = frameScript && (frameScript->eventMask & event) && deliverToSprite(*frameScript, event);
  if (!handled) callMovieHandler(eventSymbol(event));
}

// --- the stylus ------------------------------------------------------------------------------

Playing Movie::mouseDown(IntPoint screenPoint) {
  stylusPoint_ = screenPoint;
  IntPoint point = mouseLoc();
  int32_t hit = hitSprite(point, event::clickable, true);
  mouseIsDown_ = true;
  lastClickTicks_ = msToTicks(now());
  clickLoc_ = point;
  clickSprite_ = hit;
  bool handled = false;
  if (SpriteChannel* sprite = spriteIn(hit); hit != 0 && sprite) {
    currentSpriteNum_ = hit;
    handled = deliverToSprite(*sprite, event::mouseDown);
  }
  if (!handled) handled = deliverToFrameScript(event::mouseDown);
  if (!handled) callMovieHandler(sym::mouseDown);
  return answer();
}

Playing Movie::mouseUp(IntPoint screenPoint) {
  stylusPoint_ = screenPoint;
  int32_t hit = hitSprite(mouseLoc(), event::clickable, true);
  mouseIsDown_ = false;
  if (SpriteChannel* pressed = spriteIn(clickSprite_); clickSprite_ != 0 && clickSprite_ != hit && pressed) {
    currentSpriteNum_ = clickSprite_;
    deliverToSprite(*pressed, event::mouseUpOutside);
  }
  bool handled = false;
  if (SpriteChannel* released = spriteIn(hit); hit != 0 && clickSprite_ != 0 && released) {
    currentSpriteNum_ = hit;
    handled = deliverToSprite(*released, event::mouseUp);
  }
  if (!handled) handled = deliverToFrameScript(event::mouseUp);
  if (!handled) callMovieHandler(sym::mouseUp);
  return answer();
}

void Movie::mouseMove(IntPoint screenPoint) {
  stylusPoint_ = screenPoint;
  lastMoveTicks_ = msToTicks(now());
}

void Movie::rolloverCheck() {
  int32_t hit = hitSprite(mouseLoc(), event::rollover, true);
  auto deliver = [&](int32_t channel, EventMask event) {
    if (SpriteChannel* sprite = spriteIn(channel)) {
      currentSpriteNum_ = channel;
      deliverToSprite(*sprite, event);
    }
  };
  if (hit != 0 && hit == rolloverSprite_) {
    deliver(hit, event::mouseWithin);
  } else if (hit != 0) {
    if (rolloverSprite_ != 0) deliver(rolloverSprite_, event::mouseLeave);
    deliver(hit, event::mouseEnter);
    rolloverSprite_ = hit;
  } else if (rolloverSprite_ != 0) {
    deliver(rolloverSprite_, event::mouseLeave);
    rolloverSprite_ = 0;
  }
}

// --- keys --------------------------------------------------------------------------------------

bool Movie::quitKey() {
  if (exitLock_) return false;
  uint8_t code = lastKey_.code;
  for (uint8_t quitCode : kQuitKeyCodes)
    if (code == quitCode) {
      quit();
      return true;
    }
  return false;
}

void Movie::deliverKey(EventMask event) {
  if (quitKey()) return;
  lastKeyTicks_ = msToTicks(now());
  if (!deliverToFrameScript(event)) callMovieHandler(eventSymbol(event));
}

Playing Movie::keyDown(KeyReport key) {
  lastKey_ = key;
  deliverKey(event::keyDown);
  return answer();
}

Playing Movie::keyUp() {
  deliverKey(event::keyUp);
  return answer();
}

// --- messaging ---------------------------------------------------------------------------------

bool Movie::sendSprite(int argc, Value* const* argv, Value& result) {
  if (argc < 2 || !argv[0]->isIntegerLike() || !argv[1]->is(sym::symbol)) return false;
  SpriteChannel* sprite = spriteIn(argv[0]->toInteger());
  if (!sprite) return false;
  CurrentSpriteGuard restore(currentSpriteNum_);
  currentSpriteNum_ = sprite->channel();
  return sprite->handle(sym::sendSprite, argc - 1, result, argv + 1, true);
}

void Movie::sendAllSprites(int argc, Value* const* argv, Value& result) {
  if (argc < 1 || !argv[0]->is(sym::symbol)) return;
  CurrentSpriteGuard restore(currentSpriteNum_);
  for (size_t channel = 1; channel < channels_.size(); ++channel) {
    SpriteChannel* sprite = spriteIn(static_cast<int32_t>(channel));
    if (!sprite) continue;
    currentSpriteNum_ = static_cast<int32_t>(channel);
    sprite->handle(sym::sendSprite, argc, result, argv, true);
  }
}

void Movie::call(int argc, Value* const* argv, Value& result) {
  SymbolNumber handler = argc >= 2 ? symbolOf(*argv[0]) : 0;
  if (!handler) return;
  Value target = *argv[1];
  const int further = argc - 2;
  Value* const* rest = argv + 2;
  auto callOne = [&](const Value& receiver) {
    if (ScriptInstance* instance = scriptInstanceOf(receiver))
      handleWith(*instance, handler, receiver, further, rest, result);
    else
      receiver.object()->handle(handler, further, result, rest, false);
  };
  if (ListObject* list = listOf(target)) {
    for (int32_t i = 1; i <= list->size(); ++i) callOne(list->valueAt(i));
  } else {
    callOne(target);
  }
}

Value Movie::newInstanceOf(const Value& scriptObject) {
  ScriptInstance* script = scriptInstanceOf(scriptObject);
  CastMember* member = script ? castMemberOf(script->script()) : nullptr;
  if (!member) return sharedZero;
  Value instance;
  createScriptInstance(instance, member->number(), member->castLib());
  return instance;
}

bool Movie::callGlobal(ScriptObject& receiver, Value& result, SymbolNumber method, int argc, Value* const* argv) {
  Value answer;
  bool handled = false;
  if (argc >= 1 && method == sym::new_) {
    if (scriptInstanceOf(*argv[0]) && argv[0]->is(sym::script)) {
      Value instance = newInstanceOf(*argv[0]);
      answer = instance;
      if (ScriptInstance* made = scriptInstanceOf(instance)) {
        Value constructed;
        if (handleWith(*made, sym::new_, instance, argc - 1, argv + 1, constructed)) answer = constructed;
      }
    } else {
      handle(sym::new_, argc, answer, argv, false);
    }
    handled = true;
  } else if (argc >= 1) {
    // Held for the call: the handler may replace what its argument slots hold, and the slot may
    // be the first argument's only holder.
    const Value first = *argv[0];
    handled = scriptInstanceOf(first) ? first.object()->handle(method, argc, answer, argv, false)
                                      : first.object()->handle(method, argc - 1, answer, argv + 1, false);
  }
  if (!handled) handled = receiver.handle(method, argc, answer, argv, false);
  if (!handled) handled = handle(method, argc, answer, argv, false);
  result = answer;
  return handled;
}

}  // namespace qn
