// The renderer of a sound sprite: nothing to see and never hit; whenever its update does work
// it plays the member on sound channel (sprite channel - channelCount), and letting the sprite's
// scripts go stops that channel.
#pragma once

#include "engine/sprite_channel.h"

namespace qn {

class SoundSprite final : public SpriteChannel {
 public:
  using SpriteChannel::SpriteChannel;

  bool hitTest(int32_t, int32_t) override { return false; }
  bool update(bool force) override;
  void releaseScripts() override;

 private:
  int32_t soundChannel() const;
};

}  // namespace qn
