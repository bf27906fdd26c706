#include "cast/field_sprite.h"

#include "cast/field_member.h"
#include "cast/sprite_loading.h"

namespace qn {

FieldMember* FieldSprite::field() const { return dynamic_cast<FieldMember*>(member); }

bool FieldSprite::update(bool force) { return updateAndLoad(*this, force); }

void FieldSprite::computeGeometry() {
  FieldMember* shown = field();
  if (!shown) {
    spriteRect = IntRect{};
    return;
  }
  naturalWidth = shown->width();
  naturalHeight = shown->height();
  spriteRect = IntRect{locH, locV, locH + naturalWidth, locV + naturalHeight};
}

void FieldSprite::draw(ScriptObject& target, int32_t scale) {
  FieldMember* shown = field();
  ImageBuffer* image = target.ilk() == sym::intImage ? static_cast<ImageBuffer*>(&target) : nullptr;
  if (!shown || !image) return;
  const IntRect drawn = scaledRect(spriteRect, scale);
  shown->drawInto(*image, PixelRect{drawn.left, drawn.top, drawn.right, drawn.bottom}, ink, blendLevel, scale);
}

SpriteChannel* FieldMember::createSprite(Movie& movie, const SpanRef& span) { return new FieldSprite(movie, span); }

}  // namespace qn
