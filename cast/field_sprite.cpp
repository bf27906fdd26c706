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

void FieldSprite::draw(ScriptObject& stageImage) {
  FieldMember* shown = field();
  ImageBuffer* stage = stageImage.ilk() == sym::intImage ? static_cast<ImageBuffer*>(&stageImage) : nullptr;
  if (!shown || !stage) return;
  shown->drawInto(*stage, PixelRect{spriteRect.left, spriteRect.top, spriteRect.right, spriteRect.bottom}, ink,
                  blendLevel);
}

SpriteChannel* FieldMember::createSprite(Movie& movie, const SpanRef& span) { return new FieldSprite(movie, span); }

}  // namespace qn
