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

std::unique_ptr<uint8_t[]> allocateOrPurge(size_t size, const PurgeMembers& purge) {
  std::unique_ptr<uint8_t[]> bytes = allocateSampleBytes(size);
  if (bytes) return bytes;
  purgeIfAble(purge, 2 * size);
  return allocateSampleBytes(size);
}

}  // namespace

// The decoder's state between pieces. Once opened, the decoder owns `file` and is cleared with it.
struct OggVorbisDecoder::Stream {
  MemoryStream source;
  OggVorbis_File file{};
  bool opened = false;
  DecodedPcm pcm{};
  size_t capacity = 0;
  int request = 0;  // bytes asked of each read
  size_t filled = 0;
  int failuresInARow = 0;
  bool ended = false;
  ~Stream() {
    if (opened) ov_clear(&file);
  }
};

OggVorbisDecoder::OggVorbisDecoder(std::unique_ptr<Stream> stream) : stream_(std::move(stream)) {}
OggVorbisDecoder::~OggVorbisDecoder() = default;

std::unique_ptr<OggVorbisDecoder> OggVorbisDecoder::open(const uint8_t* bytes, size_t size, const PurgeMembers& purge) {
  if (platform::availablePhysicalMemory() < kLowMemory) purgeIfAble(purge, kLowMemory);

  auto stream = std::make_unique<Stream>();
  stream->source = {bytes, size, 0};
  const ov_callbacks callbacks{readStream, seekStream, closeStream, tellStream};
  if (ov_open_callbacks(&stream->source, &stream->file, nullptr, 0, callbacks) != 0) return nullptr;
  stream->opened = true;

  const vorbis_info* info = ov_info(&stream->file, -1);
  ogg_int64_t frames = ov_pcm_total(&stream->file, -1);
  if (!info || info->channels < 1 || info->channels > kMostChannels || info->rate < 1 || frames <= 0) return nullptr;
  const auto channels = static_cast<uint16_t>(info->channels);
  if (static_cast<uint64_t>(frames) > kLargestSound / (2u * channels)) return nullptr;

  stream->pcm.format = platform::pcmFormat(channels, static_cast<uint32_t>(info->rate), 16);
  stream->capacity = static_cast<size_t>(frames) * channels * 2;
  stream->pcm.bytes = allocateOrPurge(stream->capacity, purge);
  if (!stream->pcm.bytes) return nullptr;
  stream->request = static_cast<int>(std::max<size_t>(stream->capacity / 16, 2u * channels));
  return std::unique_ptr<OggVorbisDecoder>(new OggVorbisDecoder(std::move(stream)));
}

bool OggVorbisDecoder::decodeSome(size_t bytes) {
  Stream& s = *stream_;
  const size_t goal = s.filled + bytes;
  while (!s.ended && s.filled < goal) {
    if (s.filled >= s.capacity || s.failuresInARow >= kMostFailuresInARow) {
      s.ended = true;
      break;
    }
    int length = static_cast<int>(std::min<size_t>(static_cast<size_t>(s.request), s.capacity - s.filled));
    int bitstream = 0;
    long got = ov_read(&s.file, reinterpret_cast<char*>(s.pcm.bytes.get() + s.filled), length, &bitstream);
    if (got == 0) {
      s.ended = true;
    } else if (got < 0) {
      ++s.failuresInARow;  // a damaged packet or a hole in the stream
    } else {
      s.failuresInARow = 0;
      s.filled += static_cast<size_t>(got);
    }
  }
  return !s.ended;
}

std::optional<DecodedPcm> OggVorbisDecoder::finish() {
  if (stream_->filled == 0) return std::nullopt;
  stream_->pcm.size = stream_->filled;
  return std::move(stream_->pcm);
}

std::optional<DecodedPcm> decodeOggVorbis(const uint8_t* bytes, size_t size, const PurgeMembers& purge) {
  std::unique_ptr<OggVorbisDecoder> decoder = OggVorbisDecoder::open(bytes, size, purge);
  if (!decoder) return std::nullopt;
  decoder->decodeSome(kLargestSound);  // the whole stream: it decodes to no more than that
  return decoder->finish();
}

}  // namespace qn
