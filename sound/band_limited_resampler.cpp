#include "sound/band_limited_resampler.h"

#include <soxr.h>

#include <algorithm>
#include <type_traits>

#include "sound/sample_buffer.h"

namespace qn {

namespace {

// The resampler takes the input a block at a time, so that its own buffers stay the size of a
// block instead of growing (by copies) to the whole sound.
constexpr size_t kBlockFrames = 16384;

struct ResamplerDeleter {
  void operator()(soxr_t resampler) const { soxr_delete(resampler); }
};
using Resampler = std::unique_ptr<std::remove_pointer_t<soxr_t>, ResamplerDeleter>;

}  // namespace

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
  soxr_error_t error = nullptr;
  Resampler resampler(soxr_create(fromRate, toRate, channels, &error, &io, &quality, nullptr));
  if (error) return result;
  size_t read = 0, written = 0;
  // The input block by block, then the end of input (a null block) until the filter's tail is out.
  for (bool ended = false; !ended && written < capacity;) {
    const size_t block = std::min(kBlockFrames, frames - read);
    const uint8_t* input = block ? floatFrames + read * frameBytes : nullptr;
    size_t used = 0, made = 0;
    error = soxr_process(resampler.get(), input, block, &used, out.get() + written * frameBytes, capacity - written,
                         &made);
    if (error) return result;
    read += used;
    written += made;
    ended = made == 0 && (input == nullptr || used == 0);
  }
  result.bytes = std::move(out);
  result.frames = written;
  return result;
}

}  // namespace qn
