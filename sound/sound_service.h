// What the movie asks of the sound mixer: its eight numbered channels (1 to 8) stopped and
// queried. Starting a sound goes through the sound member (`CastMember::play`), which hands its
// decoded samples to the mixer itself. Channel numbers outside 1 to 8 are ignored / not busy.
#pragma once

#include <cstdint>

namespace qn {

class SoundService {
 public:
  virtual ~SoundService() = default;
  virtual void stop(int32_t channel) = 0;
  virtual bool isBusy(int32_t channel) const = 0;  // the script function `soundBusy`
};

inline constexpr int32_t kSoundChannelCount = 8;

}  // namespace qn
