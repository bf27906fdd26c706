// Format conversion through SDL's audio streams, which resample, remix channels and change sample
// types in one pass. Three things SDL needs help with:
// - it has no packed 24-bit type, so such samples are widened to 32 bits first;
// - its resampler keeps the last few hundred frames back even when flushed, so silence is fed
//   after the sound and the output is cut to the exact length the rate ratio gives;
// - its float-to-unsigned-8-bit step turns silence into 127, so 8-bit output is made signed and
//   flipped to the unsigned wave convention afterwards.
#include <SDL.h>

#include <algorithm>
#include <vector>

#include "platform/audio_converter.h"

namespace qn::platform {

namespace {

constexpr uint32_t kHighestRate = 768000;
constexpr size_t kChunkFrames = 16384;
// Silence fed after the sound, in output frames: far more than the resampler holds back.
constexpr uint64_t kFlushFrames = 8192;

bool sdlFormatOf(const WaveFormat& format, bool destination, SDL_AudioFormat& sdlFormat) {
  if (format.channels < 1 || format.channels > 8) return false;
  if (format.samplesPerSecond < 1 || format.samplesPerSecond > kHighestRate) return false;
  if (format.formatTag == kWaveFormatFloat) {
    sdlFormat = AUDIO_F32LSB;
    return format.bitsPerSample == 32;
  }
  if (format.formatTag != kWaveFormatPcm) return false;
  switch (format.bitsPerSample) {
    case 8: sdlFormat = destination ? AUDIO_S8 : AUDIO_U8; return true;
    case 16: sdlFormat = AUDIO_S16LSB; return true;
    case 24:
    case 32: sdlFormat = AUDIO_S32LSB; return true;
    default: return false;
  }
}

uint32_t frameBytes(const WaveFormat& format) {
  return format.channels * static_cast<uint32_t>(format.bitsPerSample / 8);
}

class SdlAudioConverter final : public AudioConverter {
 public:
  SdlAudioConverter(const WaveFormat& from, const WaveFormat& to, SDL_AudioStream* stream)
      : from_(from), to_(to), stream_(stream) {}
  ~SdlAudioConverter() override { SDL_FreeAudioStream(stream_); }

  size_t outputSize(size_t sourceBytes) const override {
    return static_cast<size_t>(outputFrames(sourceBytes / frameBytes(from_)) * frameBytes(to_));
  }

  size_t convert(const uint8_t* source, size_t sourceBytes, uint8_t* destination,
                 size_t capacity) override {
    const size_t sourceFrameBytes = frameBytes(from_);
    const size_t chunkBytes = kChunkFrames * sourceFrameBytes;
    size_t remaining = sourceBytes - sourceBytes % sourceFrameBytes;
    const size_t wanted = std::min<size_t>(capacity, outputSize(remaining));
    size_t written = 0;
    while (remaining > 0) {
      size_t count = std::min(remaining, chunkBytes);
      if (!put(source, count)) return finish(destination, written);
      source += count;
      remaining -= count;
      written += drain(destination + written, wanted - written);
    }
    std::vector<uint8_t> silence(kChunkFrames * sourceFrameBytes, from_.bitsPerSample == 8 ? 0x80 : 0);
    uint64_t flushSourceFrames = kFlushFrames * from_.samplesPerSecond / to_.samplesPerSecond + 1;
    while (written < wanted && flushSourceFrames > 0) {
      size_t frames = static_cast<size_t>(std::min<uint64_t>(flushSourceFrames, kChunkFrames));
      if (!put(silence.data(), frames * sourceFrameBytes)) break;
      flushSourceFrames -= frames;
      written += drain(destination + written, wanted - written);
    }
    if (written < wanted && SDL_AudioStreamFlush(stream_) == 0)
      written += drain(destination + written, wanted - written);
    return finish(destination, written);
  }

 private:
  bool put(const uint8_t* source, size_t count) {
    if (from_.bitsPerSample != 24)
      return SDL_AudioStreamPut(stream_, source, static_cast<int>(count)) == 0;
    widened_.resize(count / 3);
    for (size_t i = 0; i < widened_.size(); ++i, source += 3)
      widened_[i] = static_cast<int32_t>(static_cast<uint32_t>(source[0]) << 8 |
                                         static_cast<uint32_t>(source[1]) << 16 |
                                         static_cast<uint32_t>(source[2]) << 24);
    return SDL_AudioStreamPut(stream_, widened_.data(),
                              static_cast<int>(widened_.size() * sizeof(int32_t))) == 0;
  }

  uint64_t outputFrames(uint64_t sourceFrames) const {
    return (sourceFrames * to_.samplesPerSecond + from_.samplesPerSecond - 1) / from_.samplesPerSecond;
  }

  size_t finish(uint8_t* destination, size_t written) const {
    if (to_.bitsPerSample == 8)
      for (size_t i = 0; i < written; ++i) destination[i] ^= 0x80;
    return written;
  }

  // Takes what the stream has ready; bytes beyond the capacity are taken and dropped.
  size_t drain(uint8_t* destination, size_t capacity) {
    size_t written = 0;
    while (SDL_AudioStreamAvailable(stream_) > 0) {
      if (written < capacity) {
        int got = SDL_AudioStreamGet(stream_, destination + written,
                                     static_cast<int>(std::min<size_t>(capacity - written, 1 << 20)));
        if (got <= 0) break;
        written += static_cast<size_t>(got);
      } else {
        uint8_t overflow[4096];
        if (SDL_AudioStreamGet(stream_, overflow, sizeof overflow) <= 0) break;
      }
    }
    return written;
  }

  WaveFormat from_, to_;
  SDL_AudioStream* stream_;
  std::vector<int32_t> widened_;
};

}  // namespace

std::unique_ptr<AudioConverter> openAudioConverter(const WaveFormat& from, const WaveFormat& to) {
  SDL_AudioFormat fromType, toType;
  if (!sdlFormatOf(from, false, fromType) || !sdlFormatOf(to, true, toType)) return nullptr;
  if (to.bitsPerSample == 24) return nullptr;  // written as 32-bit by SDL: not a packed layout
  SDL_AudioStream* stream =
      SDL_NewAudioStream(fromType, static_cast<Uint8>(from.channels),
                         static_cast<int>(from.samplesPerSecond), toType,
                         static_cast<Uint8>(to.channels), static_cast<int>(to.samplesPerSecond));
  if (!stream) return nullptr;
  return std::make_unique<SdlAudioConverter>(from, to, stream);
}

}  // namespace qn::platform
