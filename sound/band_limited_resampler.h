// Lowering a sound's sample rate without aliasing: frequencies above the new Nyquist frequency
// are filtered out before the rate drops (a high-quality windowed-sinc resampler).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qn {

struct ResampledFrames {
  std::unique_ptr<uint8_t[]> bytes;  // interleaved 32-bit floats
  size_t frames = 0;
};

// Interleaved 32-bit float frames at `fromRate` to `toRate`; no bytes when the resampler fails or
// memory is short.
ResampledFrames resampleBandLimited(const uint8_t* floatFrames, size_t frames, unsigned channels, uint32_t fromRate,
                                    uint32_t toRate);

}  // namespace qn
