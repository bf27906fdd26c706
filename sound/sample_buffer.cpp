#include "sound/sample_buffer.h"

#include <new>

namespace qn {

std::unique_ptr<uint8_t[]> allocateSampleBytes(size_t size) {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size ? size : 1]);
}

void flipSampleSigns(uint8_t* bytes, size_t size) {
  for (size_t i = 0; i < size; ++i) bytes[i] ^= 0x80;
}

SampleRef makeSampleBuffer(const WaveFormat& format, std::unique_ptr<uint8_t[]> bytes, size_t size) {
  size_t frameBytes = format.channels * static_cast<size_t>(format.bitsPerSample / 8);
  if (frameBytes == 0 || !bytes) return nullptr;
  size -= size % frameBytes;
  if (format.bitsPerSample == 8) flipSampleSigns(bytes.get(), size);
  return std::make_shared<const SampleBuffer>(format, std::move(bytes), size);
}

}  // namespace qn
