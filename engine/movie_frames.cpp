// Time keeping and the frame cycle: `tick`, frame stepping, the entry into a frame (sprites
// ending and starting, frame setup events, composition and presentation) and navigation.
#include <algorithm>

#include "engine/cast_member.h"
#include "engine/movie.h"
#include "engine/script_instance.h"
#include "script/list_object.h"
#include "script/symbol_object.h"

namespace qn {

namespace {

// Milliseconds from `since` to `now`, right across a wrap of the 32-bit clock.
int32_t elapsed(int32_t now, int32_t since) {
  return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(since));
}

// A period in ticks as whole milliseconds (x 1000 / 60), in 64 bits: scripts set any period.
int64_t ticksToMs(int32_t ticks) { return int64_t{ticks} * 1000 / 60; }

// The value of the first command with `opcode` in a span's stream, or `fallback`.
int32_t commandValue(const SpriteSpan& span, int32_t opcode, int32_t fallback) {
  for (size_t i = 0; i + 1 < span.commands.size(); i += 2)
    if (span.commands[i] == opcode) return span.commands[i + 1];
  return fallback;
}

constexpr int32_t kCastLibOpcode = 9;
constexpr int32_t kMemberOpcode = 10;
constexpr int32_t kTempoCastLib = -1;

}  // namespace

Playing Movie::tick() {
  tickTime_ = services_.display.now();
  if (tempo_ >= 1000 || elapsed(tickTime_, lastFrameTime_) >= 1000 / std::max(tempo_, 1)) {
    advanceFrame();
    ++framesStepped_;
    lastFrameTime_ = tickTime_;  // lateness is not made up
  }
  if (idleHandlerPeriod_ > 0 && elapsed(tickTime_, lastIdleTime_) >= ticksToMs(idleHandlerPeriod_)) {
    runIdle();
    lastIdleTime_ = tickTime_;
  }
  pollTimeOuts();
  if (rolloverPeriod_ >= 1 && elapsed(tickTime_, lastRolloverTime_) >= ticksToMs(rolloverPeriod_)) {
    rolloverCheck();
    lastRolloverTime_ = tickTime_;
  }
  return answer();
}

int32_t Movie::msUntilNextTick() {
  if (tempo_ >= 1000) return 0;
  // Time-outs are polled on every tick: a movie that has any gives no rest.
  if (ListObject* timeOuts = listOf(timeOutList_); timeOuts && timeOuts->size() > 0) return 0;
  const int32_t now = services_.display.now();
  auto remaining = [now](int32_t since, int64_t period) {
    return std::clamp<int64_t>(period - elapsed(now, since), 0, period);
  };
  int64_t wait = remaining(lastFrameTime_, 1000 / std::max(tempo_, 1));
  if (idleHandlerPeriod_ > 0 && idleIsHeard())
    wait = std::min(wait, remaining(lastIdleTime_, ticksToMs(idleHandlerPeriod_)));
  if (rolloverPeriod_ >= 1 && rolloverIsHeard())
    wait = std::min(wait, remaining(lastRolloverTime_, ticksToMs(rolloverPeriod_)));
  return static_cast<int32_t>(wait);
}

bool Movie::idleIsHeard() const {
  const SpriteChannel* frameScript = spriteIn(0);
  return (frameScript && (frameScript->eventMask & event::idle) != 0) || movieHandlers_.count(sym::idle) != 0;
}

bool Movie::rolloverIsHeard() const {
  return rolloverSprite_ != 0 || std::any_of(drawOrder_.begin(), drawOrder_.end(), [](const SpriteChannel* sprite) {
           return (sprite->eventMask & event::rollover) != 0;
         });
}

void Movie::runIdle() {
  if (SpriteChannel* frameScript = spriteIn(0)) {
    currentSpriteNum_ = 0;
    deliverToSprite(*frameScript, event::idle);
  }
  callMovieHandler(sym::idle);
}

void Movie::pollTimeOuts() {
  Value list = timeOutList_;
  ListObject* timeOuts = listOf(list);
  for (int32_t i = 1; timeOuts && i <= timeOuts->size(); ++i) {
    Value item = timeOuts->valueAt(i);
    if (item.is(sym::timeOut)) item.call(sym::idle);
  }
}

void Movie::advanceFrame() {
  int32_t next = currentFrame_ == lastFrame_ ? 1 : std::max(currentFrame_, 0) + 1;
  frameStep(next, true);
}

void Movie::frameStep(int32_t target, bool withExit) {
  if (!prepareMovieSent_) {
    prepareMovieSent_ = true;
    navigationLocked_ = true;
    callMovieHandler(sym::prepareMovie);
    navigationLocked_ = false;
  }
  wentToFrame_ = false;
  if (withExit) deliverFrameEvent(event::exitFrame);
  if (wentToFrame_) {  // a handler navigated: its frame has been entered already
    wentToFrame_ = false;
    return;
  }
  if (target < 0) target = 1;
  else if (target > lastFrame_) target = lastFrame_;
  enterFrameWork(target);
  deliverFrameEvent(event::enterFrame);
}

void Movie::enterFrameWork(int32_t frame) {
  endOrContinueSprites(frame);
  currentFrame_ = frame;
  std::vector<Value> started;
  startSprites(frame, started);

  navigationLocked_ = true;
  inFrameSetup_ = true;
  for (const Value& held : started) {
    auto& sprite = *static_cast<SpriteChannel*>(held.object());
    currentSpriteNum_ = sprite.channel();
    deliverToSprite(sprite, event::beginSprite);
  }
  navigationLocked_ = false;
  currentSpriteNum_ = 0;
  stepActors();
  deliverFrameEvent(event::prepareFrame);
  if (!startMovieSent_) {
    startMovieSent_ = true;
    callMovieHandler(sym::startMovie);
  }
  inFrameSetup_ = false;
  composeAndPresent();
}

void Movie::endOrContinueSprites(int32_t frame) {
  for (size_t channel = 0; channel < channels_.size(); ++channel) {
    SpriteChannel* sprite = spriteIn(static_cast<int32_t>(channel));
    if (!sprite) continue;
    if (sprite->plays(frame)) {
      if (int32_t bits = sprite->applyCommands(frame)) applyChanges(*sprite, bits, true);
      continue;
    }
    Value ending = channels_[channel];  // alive through its endSprite
    invalidateSprite(*sprite);
    removeFromDrawOrder(*sprite);
    navigationLocked_ = true;
    currentSpriteNum_ = static_cast<int32_t>(channel);
    deliverToSprite(*sprite, event::endSprite);
    navigationLocked_ = false;
    if (channels_[channel].sameObject(ending)) channels_[channel] = Value();
  }
}

void Movie::startSprites(int32_t frame, std::vector<Value>& started) {
  for (const SpanRef& span : spans_) {
    if (!span->covers(frame) || span->channel < 0 || static_cast<size_t>(span->channel) >= channels_.size()) continue;
    Value& slot = channels_[static_cast<size_t>(span->channel)];
    if (!slot.isVoid()) continue;  // the first span for a free channel wins
    int32_t castLib = commandValue(*span, kCastLibOpcode, 1);
    int32_t memberNumber = commandValue(*span, kMemberOpcode, 0);
    if (castLib == kTempoCastLib) {
      tempo_ = memberNumber == 0 ? 1 : std::clamp(memberNumber, 1, 65535);
      continue;
    }
    int32_t key = memberKey(memberNumber, castLib);
    if (key <= 0) continue;
    SpriteChannel* sprite = makeSprite(services_.cast.find(key), span);
    sprite->attachBehaviours();
    sprite->applyCommands(frame);
    sprite->update(false);
    invalidateSprite(*sprite);
    slot = Value::adopt(sprite);
    insertInDrawOrder(*sprite);
    started.push_back(slot);
  }
}

void Movie::stepActors() {
  Value list = actorList_;
  ListObject* actors = listOf(list);
  for (int32_t i = 1; actors && i <= actors->size(); ++i) {
    Value actor = actors->valueAt(i);
    if (scriptInstanceOf(actor)) actor.call(sym::stepFrame);
  }
}

// --- navigation ----------------------------------------------------------------------------

void Movie::goToFrame(const Value& target) {
  int32_t frame;
  if (target.isNumber()) {
    frame = target.toInteger();
  } else if (target.is(sym::string)) {
    std::string name = stringOf(target);
    auto label = std::find_if(labels_.begin(), labels_.end(), [&](const FrameLabel& l) { return l.name == name; });
    if (label == labels_.end()) return;
    frame = label->frame;
  } else {
    switch (symbolOf(target)) {
      case sym::next: frame = markerFrame(1); break;
      case sym::previous: frame = markerFrame(-1); break;
      case sym::loop: frame = markerFrame(0); break;
      default: return;
    }
  }
  if (navigationLocked_) return;
  frameStep(frame, false);
  wentToFrame_ = true;
}

int32_t Movie::markerFrame(int32_t offset) const {
  if (labels_.empty()) return 1;
  int32_t passed = 0;
  for (const FrameLabel& label : labels_) {
    if (label.frame > currentFrame_) break;
    ++passed;
  }
  auto position = std::clamp<int64_t>(int64_t{offset} + passed, 1, static_cast<int64_t>(labels_.size()));
  return labels_[static_cast<size_t>(position - 1)].frame;
}

}  // namespace qn
