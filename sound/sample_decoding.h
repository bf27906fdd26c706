// A sound decoding in the background, so that a long tune never holds up a frame: on a thread of
// its own, or in the browser in slices between frames. The samples are published once, at the
// end; the mixer's worker polls `ready` and starts a channel that waits for them, the main thread
// may `wait`.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/background_task.h"
#include "platform/wave_format.h"
#include "sound/decode_sound.h"
#include "sound/sample_buffer.h"

namespace qn {

class SampleDecoding {
 public:
  // Decodes `bytes` (RIFF WAVE or Ogg Vorbis, owned from now on) into `output`; `finished` runs
  // where the decoding ran, once the samples are published.
  SampleDecoding(std::vector<uint8_t> bytes, const platform::WaveFormat& output, std::function<void()> finished);
  ~SampleDecoding();  // a decoding thread is waited for
  SampleDecoding(const SampleDecoding&) = delete;
  SampleDecoding& operator=(const SampleDecoding&) = delete;

  bool ready() const { return ready_.load(std::memory_order_acquire); }
  // Null until ready, and after bytes that did not decode.
  SampleRef samples() const { return ready() ? decoder_.samples() : nullptr; }
  SampleRef wait();

 private:
  bool step();

  std::vector<uint8_t> bytes_;
  SoundDecoder decoder_;
  std::function<void()> finished_;
  std::atomic<bool> ready_{false};
  std::unique_ptr<platform::BackgroundTask> task_;  // last: it ends before the rest goes
};

using SampleDecodingRef = std::shared_ptr<SampleDecoding>;

}  // namespace qn
