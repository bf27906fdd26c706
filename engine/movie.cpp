// The movie's life: construction, the load step, the definition's calls, the channels and their
// sprites as scripts address them, and destruction.
#include "engine/movie.h"

#include <algorithm>

#include "engine/cast_member.h"
#include "script/handle_with.h"
#include "engine/script_instance.h"
#include "engine/sprite_ref.h"
#include "script/list_object.h"
#include "script/symbol_table.h"

namespace qn {

namespace {
Movie* runningMovie = nullptr;
int32_t movieHandlerDepth = 0;

// Counts one nested movie-handler call for as long as it runs.
class HandlerDepthGuard {
 public:
  HandlerDepthGuard() { ++movieHandlerDepth; }
  ~HandlerDepthGuard() { --movieHandlerDepth; }
  HandlerDepthGuard(const HandlerDepthGuard&) = delete;
  HandlerDepthGuard& operator=(const HandlerDepthGuard&) = delete;
};
}  // namespace

Movie* Movie::current() { return runningMovie; }
int32_t Movie::handlerDepth() { return movieHandlerDepth; }

Movie::Movie(const MovieServices& services) : ScriptObject(sym::movie), services_(services) {
  SymbolTable::global().addBuiltins();
  const int32_t constructed = services_.display.now();
  lastFrameTime_ = lastIdleTime_ = lastRolloverTime_ = tickTime_ = constructed;
  timerBase_ = msToTicks(constructed);
  random_.reseed(static_cast<uint32_t>(constructed));
  actorList_ = makeList({});
  timeOutList_ = makeList({});
  runningMovie = this;
  setScriptHost(this);
}

Movie::~Movie() {
  if (runningMovie == this) runningMovie = nullptr;
  if (scriptHost() == this) setScriptHost(nullptr);
}

// --- the load step -------------------------------------------------------------------------

bool Movie::defineMovie() {
  DisplayHost& display = services_.display;
  if (debugLogEnabled_) {
    display.openDebugLog();
    debugLogOpen_ = true;
  }

  screenWidth_ = display.screenWidth();
  screenHeight_ = display.screenHeight();
  const bool turned = orientation_ == 90 || orientation_ == -90;
  stageWidth_ = std::max(stageWidth_, turned ? screenHeight_ : screenWidth_);
  stageHeight_ = std::max(stageHeight_, turned ? screenWidth_ : screenHeight_);
  stageRect_ = IntRect{0, 0, stageWidth_, stageHeight_};

  const int32_t format = display.displayFormat();
  if (colorDepth_ == 16 && format == kDisplay565) colorDepth_ = kDisplay565;
  else if (colorDepth_ != 32)
    colorDepth_ = (format == kDisplay565 || format == kDisplay555 || format == kDisplay32) ? format : kDisplay32;

  if (tempo_ < 1) tempo_ = 1;  // the frame period divides by it
  channelCount_ = std::max(channelCount_, 0);
  const auto slots = static_cast<size_t>(channelCount_ + kExtraChannels);
  channels_.assign(slots, Value());
  channelVisible_.assign(slots, 1);

  stageImage_ = services_.stageImages.createStageImage(stageWidth_, stageHeight_, colorDepth_);
  dirtyRect_ = presentRect_ = stageRect_;

  mediaCheck_ = services_.media.open(mediaFileName_, mediaFileSize_);
  stopped_ = mediaCheck_ != MediaCheck::accepted;
  return !stopped_;
}

// --- the definition ------------------------------------------------------------------------

void Movie::addSpan(int32_t spanId, int32_t startFrame, int32_t endFrame, int32_t channel,
                    std::span<const int32_t> commands) {
  spans_.push_back(std::make_shared<const SpriteSpan>(SpriteSpan{spanId, startFrame, endFrame, channel, commands}));
}

void Movie::registerLabel(int32_t frame, std::string_view name) {
  // A frame names one label: a second registration renames it.
  for (FrameLabel& label : labels_)
    if (label.frame == frame) {
      label.name = name;
      return;
    }
  labels_.push_back(FrameLabel{frame, std::string(name)});
}

bool Movie::registerMovieHandler(SymbolNumber handler, int32_t castLib, int32_t memberNumber) {
  CastMember* member = services_.cast.find(memberKey(memberNumber, castLib));
  if (!member) return false;
  movieHandlers_[handler] = Value::share(member);
  return true;
}

// --- handlers --------------------------------------------------------------------------------

bool Movie::callMovieHandler(SymbolNumber handler, int argc, Value* result, Value* const* argv) {
  if (movieHandlerDepth >= kMaxHandlerDepth) return false;
  HandlerDepthGuard depth;
  auto entry = movieHandlers_.find(handler);
  if (entry == movieHandlers_.end()) return false;
  CastMember* member = castMemberOf(entry->second);
  if (!member || member->type() != sym::script || member->scriptType() != sym::movie) return false;
  Value script = member->scriptObject();
  ScriptInstance* object = scriptInstanceOf(script);
  if (!object) return false;
  Value ignored;
  return handleWith(*object, handler, script, argc, argv, result ? *result : ignored);
}

void Movie::putText(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  services_.display.writeDebugLog(line);
}

void Movie::quit() {
  callMovieHandler(sym::stopMovie);
  stopped_ = true;
}

void Movie::releaseMedia() { services_.cast.unloadAll(true); }

// --- channels ----------------------------------------------------------------------------------

SpriteChannel* Movie::spriteIn(int32_t channel) const {
  if (channel < 0 || static_cast<size_t>(channel) >= channels_.size()) return nullptr;
  const Value& slot = channels_[static_cast<size_t>(channel)];
  return slot.is(sym::intSprite) ? static_cast<SpriteChannel*>(slot.object()) : nullptr;
}

SpriteChannel& Movie::sprite(int32_t channel) {
  if (channel < 0 || channel > channelCount_ || static_cast<size_t>(channel) >= channels_.size()) {
    if (dummySprite_.isVoid())
      dummySprite_ = Value::adopt(new SpriteChannel(*this, std::make_shared<const SpriteSpan>(SpriteSpan{0, 0, 0, -1, {}})));
    return *static_cast<SpriteChannel*>(dummySprite_.object());
  }
  if (SpriteChannel* existing = spriteIn(channel)) return *existing;
  // An empty sprite for a channel the score does not fill now: no member, not drawn, ended at the
  // next frame entry unless it becomes a puppet.
  auto* empty = new SpriteChannel(*this, std::make_shared<const SpriteSpan>(SpriteSpan{0, 0, 0, channel, {}}));
  channels_[static_cast<size_t>(channel)] = Value::adopt(empty);
  empty->attachBehaviours();
  return *empty;
}

Value Movie::spriteRef(int32_t channel) const {
  return Value::adopt(new SpriteRef(*const_cast<Movie*>(this), channel));
}

bool Movie::channelVisible(int32_t channel) const {
  return channel >= 0 && static_cast<size_t>(channel) < channelVisible_.size() &&
         channelVisible_[static_cast<size_t>(channel)] != 0;
}

void Movie::setChannelVisible(int32_t channel, bool visible) {
  if (channel >= 0 && static_cast<size_t>(channel) < channelVisible_.size())
    channelVisible_[static_cast<size_t>(channel)] = visible ? 1 : 0;
}

IntPoint Movie::mouseLoc() const {
  const IntPoint at = stylusPoint_;
  switch (orientation_) {
    case 90: return {screenHeight_ - at.y, at.x};
    case -90: return {at.y, screenWidth_ - at.x};
    default: return at;
  }
}

bool Movie::rollover(int32_t channel) const {
  SpriteChannel* sprite = spriteIn(channel);
  IntPoint point = mouseLoc();
  return sprite && pointInside(point.x, point.y, sprite->spriteRect);
}

Value Movie::playSound(int32_t soundChannel, const Value& what) {
  if (what.is(sym::integer) && what.toInteger() == 0) {
    services_.sound.stop(soundChannel);
    return sharedZero;
  }
  Value member = services_.cast.memberOf(what);
  CastMember* sound = castMemberOf(member);
  if (sound && sound->type() == sym::sound && sound->load()) sound->play(soundChannel);
  return sharedZero;
}

Value Movie::scriptOf(const Value& designator) {
  CastMember* member = castMemberOf(services_.cast.memberOf(designator));
  return member && member->type() == sym::script ? member->scriptObject() : Value();
}

// --- the object ------------------------------------------------------------------------------

void Movie::toString(std::string& out) const { out += "(movie)"; }

ScriptObject* Movie::duplicate() {
  retain();
  return this;
}

void Movie::destroy(bool freeStorage) {
  for (int32_t channel = 1; channel <= kSoundChannelCount; ++channel) services_.sound.stop(channel);
  services_.cast.unloadAll(true);
  for (Value& slot : channels_) {
    if (slot.is(sym::intSprite)) static_cast<SpriteChannel*>(slot.object())->releaseScripts();
    slot = Value();
  }
  drawOrder_.clear();
  if (ListObject* actors = listOf(actorList_)) actors->clear();
  if (ListObject* timeOuts = listOf(timeOutList_)) timeOuts->clear();
  movieHandlers_.clear();
  stageImage_ = Value();
  screenImage_ = Value();
  dummySprite_ = Value();
  channelVisible_.clear();
  if (debugLogOpen_) services_.display.closeDebugLog();
  debugLogOpen_ = false;
  services_.media.close();
  ScriptObject::destroy(freeStorage);
}

}  // namespace qn
