// A sound decoding on a thread of its own, so that a long tune never holds up a frame. The
// samples are published once, at the end; the mixer's worker polls `ready` and starts a channel
// that waits for them, the main thread may `wait`.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/threading.h"
#include "platform/wave_format.h"
#include "sound/sample_buffer.h"

namespace qn {

class SampleDecoding {
 public:
  // Decodes `bytes` (RIFF WAVE or Ogg Vorbis, owned from now on) into `output`; `finished` runs
  // on the decoding thread once the samples are published.
  SampleDecoding(std::vector<uint8_t> bytes, const platform::WaveFormat& output, std::function<void()> finished);
  ~SampleDecoding();  // waits for the decoding to end
  SampleDecoding(const SampleDecoding&) = delete;
  SampleDecoding& operator=(const SampleDecoding&) = delete;

  bool ready() const { return ready_.load(std::memory_order_acquire); }
  // Null until ready, and after bytes that did not decode.
  SampleRef samples() const { return ready() ? samples_ : nullptr; }
  SampleRef wait();

 private:
  std::vector<uint8_t> bytes_;
  SampleRef samples_;
  std::atomic<bool> ready_{false};
  platform::AutoResetEvent done_;
  std::unique_ptr<platform::Thread> thread_;
};

using SampleDecodingRef = std::shared_ptr<SampleDecoding>;

}  // namespace qn
