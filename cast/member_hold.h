// A member held across a call that may purge memory: any image allocation that fails, every
// decode and every fetch of media bytes may ask the cast to unload least recently used members,
// and a member in the middle of making a picture (or drawing) must not be one of them. While
// held, the cast's purge passes the member by, so what it holds (its image, finer picture,
// mattes, text and rendered copies) stays as it was when the call began, and the member itself
// stays alive. Holds nest.
#pragma once

#include "cast/cast_member_base.h"

namespace qn {

class MemberHold {
 public:
  explicit MemberHold(CastMemberBase& member) : member_(Value::share(&member)) { ++member.holds_; }
  ~MemberHold() { --static_cast<CastMemberBase*>(member_.object())->holds_; }
  MemberHold(const MemberHold&) = delete;
  MemberHold& operator=(const MemberHold&) = delete;

 private:
  Value member_;
};

}  // namespace qn
