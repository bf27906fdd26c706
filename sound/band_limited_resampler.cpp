#include "sound/band_limited_resampler.h"

#include <soxr.h>

#include "sound/sample_buffer.h"

namespace qn {

ResampledFrames resampleBandLimited(const uint8_t* floatFrames, size_t frames, unsigned channels, uint32_t fromRate,
                                    uint32_t toRate) {
  ResampledFrames result;
  if (channels == 0 || fromRate == 0 || toRate == 0) return result;
  const size_t capacity = static_cast<size_t>((uint64_t{frames} * toRate + fromRate - 1) / fromRate);
  const size_t frameBytes = size_t{channels} * sizeof(float);
  if (capacity > kLargestSound / frameBytes) return result;
  std::unique_ptr<uint8_t[]> out = allocateSampleBytes(capacity * frameBytes + frameBytes);
  if (!out) return result;
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  size_t written = 0;
  soxr_error_t error = soxr_oneshot(fromRate, toRate, channels, floatFrames, frames, nullptr, out.get(), capacity,
                                    &written, &io, &quality, nullptr);
  if (error) return result;
  result.bytes = std::move(out);
  result.frames = written;
  return result;
}

}  // namespace qn
