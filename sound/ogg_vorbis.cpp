#include "sound/ogg_vorbis.h"

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "sound/sample_buffer.h"

namespace qn {

namespace {

constexpr uint64_t kLowMemory = 1'000'000;
constexpr int kMostChannels = 8;
// Damaged packets are skipped one by one; a stream that yields nothing else for this many
// requests in a row is given up.
constexpr int kMostFailuresInARow = 64;

// The decoder reads the stream through these callbacks over the bytes in memory.
struct MemoryStream {
  const uint8_t* bytes;
  size_t size;
  size_t position;
};

size_t readStream(void* buffer, size_t itemSize, size_t count, void* source) {
  auto& stream = *static_cast<MemoryStream*>(source);
  size_t remaining = stream.size - stream.position;
  size_t wanted = itemSize != 0 && count > remaining / itemSize ? remaining : itemSize * count;
  size_t length = std::min(remaining, wanted);
  std::memcpy(buffer, stream.bytes + stream.position, length);
  stream.position += length;
  return length;
}

int seekStream(void* source, ogg_int64_t offset, int whence) {
  auto& stream = *static_cast<MemoryStream*>(source);
  ogg_int64_t base;
  switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<ogg_int64_t>(stream.position); break;
    case SEEK_END: base = static_cast<ogg_int64_t>(stream.size); break;
    default: return -1;
  }
  // Positions outside the block are refused rather than remembered.
  if (offset < -base || offset > static_cast<ogg_int64_t>(stream.size) - base) return -1;
  stream.position = static_cast<size_t>(base + offset);
  return 0;
}

long tellStream(void* source) { return static_cast<long>(static_cast<MemoryStream*>(source)->position); }

int closeStream(void*) { return 0; }

// Closes the decoder whichever way decoding ends.
struct OpenStream {
  OggVorbis_File file{};
  ~OpenStream() { ov_clear(&file); }
};

std::unique_ptr<uint8_t[]> allocateOrPurge(size_t size, const PurgeMembers& purge) {
  std::unique_ptr<uint8_t[]> bytes = allocateSampleBytes(size);
  if (bytes) return bytes;
  purgeIfAble(purge, 2 * size);
  return allocateSampleBytes(size);
}

}  // namespace

std::optional<DecodedPcm> decodeOggVorbis(const uint8_t* bytes, size_t size, const PurgeMembers& purge) {
  if (platform::availablePhysicalMemory() < kLowMemory) purgeIfAble(purge, kLowMemory);

  MemoryStream source{bytes, size, 0};
  const ov_callbacks callbacks{readStream, seekStream, closeStream, tellStream};
  OpenStream stream;
  if (ov_open_callbacks(&source, &stream.file, nullptr, 0, callbacks) != 0) return std::nullopt;
  // From here the decoder owns the file record: OpenStream clears it on every return.

  const vorbis_info* info = ov_info(&stream.file, -1);
  ogg_int64_t frames = ov_pcm_total(&stream.file, -1);
  if (!info || info->channels < 1 || info->channels > kMostChannels || info->rate < 1 || frames <= 0)
    return std::nullopt;
  const auto channels = static_cast<uint16_t>(info->channels);
  if (static_cast<uint64_t>(frames) > kLargestSound / (2u * channels)) return std::nullopt;

  DecodedPcm pcm;
  pcm.format = platform::pcmFormat(channels, static_cast<uint32_t>(info->rate), 16);
  const size_t capacity = static_cast<size_t>(frames) * channels * 2;
  pcm.bytes = allocateOrPurge(capacity, purge);
  if (!pcm.bytes) return std::nullopt;

  const int request = static_cast<int>(std::max<size_t>(capacity / 16, 2u * channels));
  size_t filled = 0;
  int failuresInARow = 0;
  while (filled < capacity && failuresInARow < kMostFailuresInARow) {
    int length = static_cast<int>(std::min<size_t>(static_cast<size_t>(request), capacity - filled));
    int bitstream = 0;
    long got = ov_read(&stream.file, reinterpret_cast<char*>(pcm.bytes.get() + filled), length, &bitstream);
    if (got == 0) break;
    if (got < 0) {
      ++failuresInARow;  // a damaged packet or a hole in the stream
      continue;
    }
    failuresInARow = 0;
    filled += static_cast<size_t>(got);
  }
  if (filled == 0) return std::nullopt;
  pcm.size = filled;
  return pcm;
}

}  // namespace qn
