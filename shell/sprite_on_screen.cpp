#include "shell/sprite_on_screen.h"

namespace qn {

IntPoint centreOfSprite(Movie& movie, int32_t channel) {
  const IntRect rect = movie.sprite(channel).spriteRect;
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

int32_t memberInChannel(Movie& movie, int32_t channel) {
  return movie.sprite(channel).property(sym::memberNum).toInteger();
}

}  // namespace qn
