// The cast as the movie looks members up: the member table keyed by member key (ascending key
// order is cast order) and the name index (names compared ignoring case; the earliest entered
// wins). The cast subsystem implements it and the movie definition fills it; the movie holds it
// for its whole life and asks every member to unload when it ends.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/cast_member.h"

namespace qn {

class CastTable {
 public:
  virtual ~CastTable() = default;

  // Lookups without fallbacks: null when nothing is stored there. The result is not counted.
  virtual CastMember* find(int32_t key) const = 0;
  virtual CastMember* findByName(std::string_view name) const = 0;

  // The script function `member`: a number gives the member in castLib 1, a string the member of
  // that name, a sprite reference the member whose number is the sprite's channel, a member
  // itself; anything missing gives a new empty member (number -1 and castLib 1 when nothing
  // names a number).
  virtual Value memberOf(const Value& designator) = 0;
  // A new empty member standing for (number, castLib).
  virtual Value emptyMember(int32_t number, int32_t castLib) = 0;
  // `new(#bitmap [, member or castLib])`: a new empty bitmap member at `depth` added to the cast;
  // the member, or void when adding was refused.
  virtual Value newBitmapMember(const Value* where, int32_t depth) = 0;

  // Changes whenever the pictures members show at presentation scales above 1 changed (finer
  // pictures attached or dropped), so that a stage composed at such a scale is composed anew.
  virtual uint32_t pictureGeneration() const { return 0; }

  // Every member in cast order is asked to unload (forced: the low-memory release and the end of
  // the movie; not forced: `unload all`).
  virtual void unloadAll(bool force) = 0;
};

}  // namespace qn
