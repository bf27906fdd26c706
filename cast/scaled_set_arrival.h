// A finer media set that arrives while the movie plays (the browser's page downloads the sets
// after the game has started). Attaching it at once would make the next frame decode, in one go,
// the set's picture of every member on the screen; instead the pictures it has for the members
// drawn at its scale now are decoded one a step (the shell takes a step a frame), and the set is
// attached with them in place: the frame after it composes the finer screen without decoding a
// picture. A member unloaded or changed meanwhile makes its picture when it is next drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "script/value.h"

namespace qn {

class Cast;
class ScaledMediaSet;

class ScaledSetArrival {
 public:
  // `set` has been read and checked by the cast (Cast::scaledMediaArrival).
  ScaledSetArrival(Cast& cast, std::unique_ptr<ScaledMediaSet> set);
  ~ScaledSetArrival();
  ScaledSetArrival(const ScaledSetArrival&) = delete;
  ScaledSetArrival& operator=(const ScaledSetArrival&) = delete;

  int32_t scale() const;
  // Decodes the next picture; false once none is left.
  bool step();
  // Attaches the set, each decoded picture taken by its member.
  void finish();

 private:
  Cast& cast_;
  std::unique_ptr<ScaledMediaSet> set_;
  std::vector<int32_t> members_;  // the keys of the members drawn at the set's scale
  size_t next_ = 0;
  std::vector<std::pair<int32_t, Value>> decoded_;
};

}  // namespace qn
