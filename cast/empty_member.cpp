#include "cast/empty_member.h"

#include "engine/sprite_channel.h"

namespace qn {

SpriteChannel* EmptyMember::createSprite(Movie& movie, const SpanRef& span) { return new SpriteChannel(movie, span); }

}  // namespace qn
