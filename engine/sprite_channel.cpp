// A sprite's life: construction, the score's command stream, geometry, hit testing and the
// comparisons between sprites. Its script-visible properties are in sprite_properties.cpp.
#include "engine/sprite_channel.h"

#include <array>

#include "engine/cast_member.h"
#include "engine/movie.h"
#include "engine/script_instance.h"
#include "engine/sprite_ref.h"
#include "script/list_object.h"

namespace qn {

namespace {

// One opcode of the score command stream: the lock that keeps it off, and how it sets its
// property (true when the value changed). The wait (opcode 11) has no entry function.
struct ScoreCommand {
  Lock lock;
  bool (*apply)(SpriteRecord& sprite, int32_t value);
  int32_t bits;
};

template <class T>
bool assign(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

constexpr int32_t kWaitOpcode = 11;
constexpr float kFixedOne = 65536.0f;

constexpr std::array<ScoreCommand, 17> kScoreCommands = {{
    {Lock::locH, [](SpriteRecord& s, int32_t v) { return assign(s.locH, v); }, change::redraw},
    {Lock::locV, [](SpriteRecord& s, int32_t v) { return assign(s.locV, v); }, change::redraw},
    {Lock::stretch, [](SpriteRecord& s, int32_t v) { return assign(s.stretch, v == 1); }, change::redraw},
    {Lock::ink, [](SpriteRecord& s, int32_t v) { return assign(s.ink, v); }, change::redraw},
    {Lock::width, [](SpriteRecord& s, int32_t v) { return assign(s.width, v); }, change::redraw},
    {Lock::height, [](SpriteRecord& s, int32_t v) { return assign(s.height, v); }, change::redraw},
    {Lock::blendLevel, [](SpriteRecord& s, int32_t v) { return assign(s.blendLevel, v); }, change::redraw},
    {Lock::color, [](SpriteRecord& s, int32_t v) { return assign(s.color, static_cast<uint32_t>(v)); },
     change::redraw},
    {Lock::bgColor, [](SpriteRecord& s, int32_t v) { return assign(s.bgColor, static_cast<uint32_t>(v)); },
     change::redraw},
    {Lock::castLibNum, [](SpriteRecord& s, int32_t v) { return assign(s.castLibNum, v); }, change::member},
    {Lock::memberNum, [](SpriteRecord& s, int32_t v) { return assign(s.memberNum, v); }, change::member},
    {Lock::locH, nullptr, 0},  // wait
    {Lock::rotation,
     [](SpriteRecord& s, int32_t v) { return assign(s.rotation, static_cast<float>(v) / kFixedOne); },
     change::redraw},
    {Lock::skew, [](SpriteRecord& s, int32_t v) { return assign(s.skew, static_cast<float>(v) / kFixedOne); },
     change::redraw},
    {Lock::flipH, [](SpriteRecord& s, int32_t v) { return assign(s.flipH, v != 0); }, change::redraw},
    {Lock::flipV, [](SpriteRecord& s, int32_t v) { return assign(s.flipV, v != 0); }, change::redraw},
    {Lock::lineSize, [](SpriteRecord& s, int32_t v) { return assign(s.lineSize, v); }, change::redraw},
}};

static_assert(kScoreCommands[10].lock == Lock::memberNum && kScoreCommands[12].lock == Lock::rotation &&
                  kScoreCommands[16].lock == Lock::lineSize,
              "opcodes and lock flags stay parallel");

// What a rewind restores: the properties the score may have changed, except location, size
// and member.
template <class T>
bool resetUnlocked(SpriteRecord& sprite, Lock lock, T& field, T value) {
  return !sprite.lockFlags.has(lock) && assign(field, value);
}

}  // namespace

SpriteChannel::SpriteChannel(Movie& owner, SpanRef playedSpan) : ScriptObject(sym::intSprite) {
  movie = &owner;
  span = std::move(playedSpan);
  committedLocZ = locZ = span->channel;
  cursorFrame = span->startFrame - 1;
}

int32_t SpriteChannel::memberKeyNamed() const { return memberKey(memberNum, castLibNum); }

void SpriteChannel::attachBehaviours() {
  scriptInstanceList = movie->createBehaviours(span->spanId, span->channel);
  if (scriptInstanceList.isVoid()) scriptInstanceList = makeList({});
  recomputeEventMask();
}

void SpriteChannel::recomputeEventMask() {
  ListObject* list = listOf(scriptInstanceList);
  if (!list) {
    eventMask = 0;
    return;
  }
  for (const Value& item : *list)
    if (ScriptInstance* instance = scriptInstanceOf(item)) eventMask |= instance->eventMask();
}

void SpriteChannel::takeOver(SpriteChannel& old) {
  static_cast<SpriteRecord&>(*this) = static_cast<const SpriteRecord&>(old);
  old.scriptInstanceList = sharedZero;
}

// --- the score ---------------------------------------------------------------------------

bool SpriteChannel::rewind() {
  forceApply = false;
  commandIndex = 0;
  cursorFrame = span->startFrame - 1;
  if (puppet) return false;
  bool reset = false;
  reset |= resetUnlocked(*this, Lock::stretch, stretch, false);
  reset |= resetUnlocked(*this, Lock::ink, ink, 0);
  reset |= resetUnlocked(*this, Lock::blendLevel, blendLevel, 255);
  reset |= resetUnlocked(*this, Lock::rotation, rotation, 0.0f);
  reset |= resetUnlocked(*this, Lock::skew, skew, 0.0f);
  reset |= resetUnlocked(*this, Lock::flipH, flipH, false);
  reset |= resetUnlocked(*this, Lock::flipV, flipV, false);
  reset |= resetUnlocked(*this, Lock::lineSize, lineSize, 0);
  reset |= resetUnlocked(*this, Lock::color, color, 0u);
  reset |= resetUnlocked(*this, Lock::bgColor, bgColor, 0xFFFFFFu);
  return reset;
}

int32_t SpriteChannel::applyCommands(int32_t frame) {
  int32_t marked = 0;
  if (frame < lastAppliedFrame || (forceApply && frame == lastAppliedFrame))
    if (rewind()) marked |= change::redraw;
  const std::span<const int32_t> commands = span->commands;
  while (cursorFrame < frame) {
    if (commandIndex + 1 >= span->commandCount()) {
      cursorFrame = span->endFrame;
      break;
    }
    int32_t opcode = commands[static_cast<size_t>(commandIndex)];
    int32_t value = commands[static_cast<size_t>(commandIndex) + 1];
    commandIndex += 2;
    if (opcode == kWaitOpcode) {
      cursorFrame += value;
      continue;
    }
    if (opcode < 0 || opcode >= static_cast<int32_t>(kScoreCommands.size())) continue;
    const ScoreCommand& command = kScoreCommands[static_cast<size_t>(opcode)];
    if (puppet || lockFlags.has(command.lock)) continue;
    if (command.apply(*this, value)) marked |= command.bits;
  }
  lastAppliedFrame = frame;
  changeFlags |= marked;
  return changeFlags;
}

// --- geometry and drawing ----------------------------------------------------------------

bool SpriteChannel::update(bool force) {
  if (changeFlags == 0 && !force) return false;
  member = movie->cast().find(memberKeyNamed());
  changeFlags = 0;
  committedLocZ = locZ;
  computeGeometry();
  return true;
}

void SpriteChannel::computeGeometry() { spriteRect = IntRect{}; }

void SpriteChannel::draw(ScriptObject&, int32_t) {}

void SpriteChannel::releaseScripts() {
  scriptInstanceList = sharedZero;
  member = nullptr;
}

bool SpriteChannel::hitTest(int32_t x, int32_t y) {
  if (quadMode) return pointInQuad(quad, static_cast<float>(x), static_cast<float>(y));
  // A sprite without extent (nothing to show) is never hit, not even on its corner.
  return !isEmptyRect(spriteRect) && pointInside(x, y, spriteRect);
}

bool SpriteChannel::intersects(const SpriteChannel& other) const {
  if (quadMode || other.quadMode) return quadsIntersect(effectiveQuad(), other.effectiveQuad());
  if (!rectsIntersect(spriteRect, other.spriteRect)) return false;
  constexpr int32_t kMatteInk = 8;
  bool bothBitmaps = member && other.member && member->type() == sym::bitmap && other.member->type() == sym::bitmap;
  if (bothBitmaps && other.ink == kMatteInk) return pixelsMeet(other);
  return true;
}

bool SpriteChannel::within(const SpriteChannel& other) const {
  if (quadMode || other.quadMode) return quadWithin(effectiveQuad(), other.effectiveQuad());
  return rectWithin(spriteRect, other.spriteRect);
}

// --- the object ----------------------------------------------------------------------------

void SpriteChannel::toString(std::string& out) const { appendSpriteText(out, channel()); }

// A sprite is shared, never copied.
ScriptObject* SpriteChannel::duplicate() {
  retain();
  return this;
}

SpriteChannel* spriteOf(const Value& value) {
  if (value.is(sym::intSprite)) return static_cast<SpriteChannel*>(value.object());
  if (value.is(sym::sprite)) return &static_cast<SpriteRef*>(value.object())->resolve();
  return nullptr;
}

}  // namespace qn
