#include "sound/mix_channel.h"

#include <array>

namespace qn {

namespace {

enum class SampleShape { mono8, stereo8, mono16, stereo16, count };

inline int32_t readSample(const uint8_t* at, int8_t) { return static_cast<int8_t>(at[0]); }

// The upper byte of a signed 16-bit sample, sign kept: the mix adds 8-bit values.
inline int32_t readSample(const uint8_t* at, int16_t) {
  return static_cast<int16_t>(static_cast<uint16_t>(at[0] | at[1] << 8)) >> 8;
}

// Nearest-sample resampling: each output frame takes the source frame at the read position.
template <int Channels, typename Sample>
void renderSamples(MixChannel& channel, int32_t* accumulator, int frames) {
  constexpr size_t kFrameBytes = Channels * sizeof(Sample);
  const uint8_t* data = channel.sample->data();
  const size_t size = channel.sample->size();
  size_t position = channel.readPos;
  uint32_t fraction = channel.fraction;
  const uint32_t step = channel.step;
  for (int frame = 0; frame < frames; ++frame) {
    if (position + kFrameBytes > size) {
      if (!channel.loop || size < kFrameBytes) {
        channel.release();
        return;
      }
      position = 0;
    }
    int32_t left = readSample(data + position, Sample{});
    int32_t right = Channels == 2 ? readSample(data + position + sizeof(Sample), Sample{}) : left;
    accumulator[2 * frame] += left;
    accumulator[2 * frame + 1] += right;
    fraction += step;
    position += (fraction >> 16) * kFrameBytes;
    fraction &= 0xFFFF;
  }
  channel.readPos = position;
  channel.fraction = fraction;
}

constexpr std::array<RenderRoutine, static_cast<size_t>(SampleShape::count)> kRenderRoutines = {
    renderSamples<1, int8_t>,   // mono8
    renderSamples<2, int8_t>,   // stereo8
    renderSamples<1, int16_t>,  // mono16
    renderSamples<2, int16_t>,  // stereo16
};
static_assert(static_cast<int>(SampleShape::stereo16) == 3 && kRenderRoutines.size() == 4,
              "render routines follow SampleShape");

RenderRoutine renderRoutineFor(const WaveFormat& format) {
  if (format.channels < 1 || format.channels > 2) return nullptr;
  int stereo = format.channels - 1;
  switch (format.bitsPerSample) {
    case 8: return kRenderRoutines[static_cast<size_t>(SampleShape::mono8) + stereo];
    case 16: return kRenderRoutines[static_cast<size_t>(SampleShape::mono16) + stereo];
    default: return nullptr;
  }
}

}  // namespace

uint32_t stepFor(uint32_t sourceRate, uint32_t outputRate) {
  return static_cast<uint32_t>((uint64_t{sourceRate & 0xFFFF} << 16) / outputRate);
}

bool MixChannel::start(SampleRef newSample, bool looping, uint32_t outputRate) {
  release();
  if (!newSample) return false;
  render = renderRoutineFor(newSample->format());
  if (!render) return false;
  sample = std::move(newSample);
  readPos = 0;
  fraction = 0;
  loop = looping;
  retune(outputRate);
  busy = true;
  return true;
}

void MixChannel::await(SampleDecodingRef decoding, bool looping) {
  release();
  awaited = std::move(decoding);
  waiting = true;
  loop = looping;
  busy = true;
}

bool MixChannel::startIfReady(uint32_t outputRate) {
  if (!waiting || !awaited || !awaited->ready()) return false;
  SampleDecodingRef decoding = std::move(awaited);
  return start(decoding->samples(), loop, outputRate);
}

void MixChannel::retune(uint32_t outputRate) {
  if (sample) step = stepFor(sample->format().samplesPerSecond, outputRate);
}

void MixChannel::release() {
  sample.reset();
  awaited.reset();
  waiting = false;
  busy = false;
}

}  // namespace qn
