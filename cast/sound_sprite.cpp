#include "cast/sound_sprite.h"

#include "engine/movie.h"

namespace qn {

int32_t SoundSprite::soundChannel() const { return channel() - movie->channelCount(); }

bool SoundSprite::update(bool force) {
  if (!SpriteChannel::update(force)) return false;
  if (member && member->type() == sym::sound) member->play(soundChannel());
  return true;
}

void SoundSprite::releaseScripts() {
  movie->services().sound.stop(soundChannel());
  SpriteChannel::releaseScripts();
}

}  // namespace qn
