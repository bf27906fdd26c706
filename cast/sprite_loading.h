// What every media renderer's `update` does: the sprite channel's own update first (member
// lookup, locZ, geometry), then, when it did work, the member is loaded and the geometry
// recomputed from the loaded member's size.
#pragma once

#include "engine/cast_member.h"
#include "engine/sprite_channel.h"

namespace qn {

inline bool updateAndLoad(SpriteChannel& sprite, bool force) {
  if (!sprite.SpriteChannel::update(force)) return false;
  if (sprite.member) {
    sprite.member->load();
    sprite.computeGeometry();
  }
  return true;
}

}  // namespace qn
