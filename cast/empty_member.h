// The member that stands for a reference to nothing: lookups of numbers and names that no member
// has answer one. Always loaded, draws nothing; copies are new empty members of the same number.
#pragma once

#include "cast/cast_member_base.h"

namespace qn {

class EmptyMember final : public CastMemberBase {
 public:
  EmptyMember(Cast& cast, int32_t number, int32_t castLib) : CastMemberBase(cast, sym::empty, number, castLib, "") {
    setLoaded(true);
  }

  ScriptObject* duplicate() override { return new EmptyMember(cast(), number(), castLib()); }
  SpriteChannel* createSprite(Movie& movie, const SpanRef& span) override;
  bool unload(bool) override { return true; }
};

}  // namespace qn
