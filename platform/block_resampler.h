// The blocks a wave output plays, read at the device's own rate. The mixer writes PCM at its rate
// (8 or 16 bits); the device plays float frames at whatever rate the system runs at, and each
// output frame lies on the straight line between the two source frames around it. A straight line
// never goes beyond the samples it joins, so nothing leaves here beyond full scale, and the system
// is left no rate to convert (its band-limited conversion of a full-scale square overshoots by up
// to 40 %, clipped or worse at the speaker). A block is handed back as soon as its last frame has
// been read; with none queued the device plays silence.
#pragma once

#include <cstddef>
#include <deque>

#include "platform/wave_format.h"
#include "platform/wave_output.h"

namespace qn::platform {

class BlockResampler {
 public:
  BlockResampler(const WaveFormat& source, uint32_t outputRate);

  // Queues a block behind those already written.
  void write(WaveBlock& block);
  // Writes `frames` frames of the source's channel count into `out`; answers how many blocks were
  // read to their end (each marked done).
  int read(float* out, size_t frames);
  // Drops every queued block, each marked done.
  void clear();

 private:
  void advance(int& blocksDone);  // the next source frame into `to_`
  float sampleAt(const uint8_t* at) const;

  WaveFormat source_;
  double step_;  // source frames per output frame
  std::deque<WaveBlock*> queue_;
  size_t offset_ = 0;  // bytes of the front block already read
  // The source frames the output lies between, and how far along from `from_` to `to_`.
  float from_[2] = {0, 0};
  float to_[2] = {0, 0};
  double along_ = 0;
};

}  // namespace qn::platform
