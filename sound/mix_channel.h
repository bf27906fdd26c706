// One of the mixer's eight channels: a sample being played, its read position and the routine
// that adds it into the mix. Changed only under the mixer's lock; `busy` may be read without it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "sound/sample_buffer.h"
#include "sound/sample_decoding.h"

namespace qn {

struct MixChannel;

// Adds `frames` output frames of the channel into the accumulator (left, right pairs). Releases
// the channel when a sample that does not loop runs out; the rest of its frames stay silent.
using RenderRoutine = void (*)(MixChannel& channel, int32_t* accumulator, int frames);

struct MixChannel {
  RenderRoutine render = nullptr;
  size_t readPos = 0;     // byte offset of the next frame in the sample's data
  uint32_t fraction = 0;  // 16-bit fraction of the read position, in frames
  uint32_t step = 0;      // 16.16 source frames per output frame
  SampleRef sample;       // null while the channel is free or waiting
  SampleDecodingRef awaited;  // the decoding whose samples the waiting channel plays next
  bool waiting = false;
  bool loop = false;
  std::atomic<bool> busy{false};  // playing or waiting, for readers without the lock

  // False (and the channel left free) when the sample's layout has no render routine.
  bool start(SampleRef newSample, bool looping, uint32_t outputRate);
  // The channel is busy from now on and starts once `decoding` is ready; with no decoding it
  // stays busy and silent until released (a mixer without a device decodes nothing).
  void await(SampleDecodingRef decoding, bool looping);
  // Starts a waiting channel whose decoding has become ready; false while it still waits.
  bool startIfReady(uint32_t outputRate);
  void retune(uint32_t outputRate);
  void release();
};

// 16.16 source frames per output frame, the source rate taken as its low 16 bits.
uint32_t stepFor(uint32_t sourceRate, uint32_t outputRate);

}  // namespace qn
