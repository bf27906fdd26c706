// The movie's side of sprites: the dirty rect, acting on change bits (replacing a sprite's
// renderer when its member type changes), the draw order and hit testing.
#include <algorithm>

#include "engine/cast_member.h"
#include "engine/movie.h"

namespace qn {

namespace {
bool drawsBelow(const SpriteChannel* a, const SpriteChannel* b) {
  if (a->committedLocZ != b->committedLocZ) return a->committedLocZ < b->committedLocZ;
  return a->channel() < b->channel();
}
}  // namespace

// The stage recomposes where the sprite's pixels were (its shown rect) and where they are now. A
// sprite on a hidden channel, or one that draws nothing (a bitmap at blend 0, such as the
// computer's invisible sight line, which turns every frame), shows nothing and adds nothing.
void Movie::invalidateSprite(SpriteChannel& sprite) {
  const bool shows = channelVisible(sprite.channel()) && !sprite.drawsNothing();
  const IntRect now = shows ? sprite.spriteRect : IntRect{};
  for (const IntRect& rect : {sprite.shownRect, now})
    if (!isEmptyRect(rect) && rectsIntersect(rect, stageRect_)) dirtyRect_ = boundingUnion(dirtyRect_, rect);
  sprite.shownRect = now;
}

void Movie::insertInDrawOrder(SpriteChannel& sprite) {
  drawOrder_.insert(std::upper_bound(drawOrder_.begin(), drawOrder_.end(), &sprite, drawsBelow), &sprite);
}

// By identity: the sprite's key may have changed since it was filed.
void Movie::removeFromDrawOrder(SpriteChannel& sprite) {
  auto filed = std::find(drawOrder_.begin(), drawOrder_.end(), &sprite);
  if (filed != drawOrder_.end()) drawOrder_.erase(filed);
}

SpriteChannel* Movie::makeSprite(CastMember* member, const SpanRef& span) {
  SpriteChannel* sprite = member ? member->createSprite(*this, span) : nullptr;
  return sprite ? sprite : new SpriteChannel(*this, span);
}

void Movie::applyChanges(SpriteChannel& sprite, int32_t bits, bool now) {
  if (!now && !inFrameSetup_) return;  // acted on when the next frame is entered
  if (spriteIn(sprite.channel()) != &sprite) return;  // not on the stage (the dummy sprite)
  if (bits & change::member) {
    CastMember* next = services_.cast.find(sprite.memberKeyNamed());
    CastMember* shown = sprite.member;
    bool sameClass = next == shown || (next && shown && next->type() == shown->type());
    if (!sameClass) {
      replaceSprite(sprite, next);
      return;
    }
  }
  if (bits & change::locZ) removeFromDrawOrder(sprite);
  if (bits) {
    invalidateSprite(sprite);
    sprite.update(false);
    invalidateSprite(sprite);
  }
  if (bits & change::locZ) insertInDrawOrder(sprite);
}

// The member type changed: a new renderer takes over the whole record, behaviours included.
void Movie::replaceSprite(SpriteChannel& old, CastMember* member) {
  Value keep = Value::share(&old);
  removeFromDrawOrder(old);
  invalidateSprite(old);
  SpriteChannel* renderer = makeSprite(member, old.span);
  renderer->takeOver(old);
  channels_[static_cast<size_t>(old.channel())] = Value::adopt(renderer);
  renderer->update(false);
  invalidateSprite(*renderer);
  insertInDrawOrder(*renderer);
}

int32_t Movie::hitSprite(IntPoint point, EventMask mask, bool visibleOnly) const {
  for (auto it = drawOrder_.rbegin(); it != drawOrder_.rend(); ++it) {
    SpriteChannel* sprite = *it;
    if (visibleOnly && !channelVisible(sprite->channel())) continue;
    if (mask != 0 && (sprite->eventMask & mask) == 0) continue;
    if (sprite->hitTest(point.x, point.y)) return sprite->channel();
  }
  return 0;
}

void Movie::updateSpritesShowing(const CastMember& member) {
  for (size_t channel = 0; channel < channels_.size(); ++channel) {
    SpriteChannel* sprite = spriteIn(static_cast<int32_t>(channel));
    if (!sprite || sprite->member != &member) continue;
    invalidateSprite(*sprite);
    int32_t filedUnder = sprite->committedLocZ;
    sprite->update(true);
    auto filed = std::find(drawOrder_.begin(), drawOrder_.end(), sprite);
    if (sprite->committedLocZ != filedUnder && filed != drawOrder_.end()) {  // a pending locZ committed
      drawOrder_.erase(filed);
      insertInDrawOrder(*sprite);
    }
    invalidateSprite(*sprite);
  }
}

}  // namespace qn
