// The renderer of a field sprite: the member's box at the sprite's location, the text drawn
// into the stage with the sprite's ink and blend.
#pragma once

#include "engine/sprite_channel.h"

namespace qn {

class FieldMember;

class FieldSprite final : public SpriteChannel {
 public:
  using SpriteChannel::SpriteChannel;

  bool update(bool force) override;
  void draw(ScriptObject& target, int32_t scale) override;
  void computeGeometry() override;

 private:
  FieldMember* field() const;
};

}  // namespace qn
