#include "platform/block_resampler.h"

#include <cstdint>
#include <cstring>

namespace qn::platform {

BlockResampler::BlockResampler(const WaveFormat& source, uint32_t outputRate)
    : source_(source), step_(static_cast<double>(source.samplesPerSecond) / outputRate) {}

void BlockResampler::write(WaveBlock& block) { queue_.push_back(&block); }

float BlockResampler::sampleAt(const uint8_t* at) const {
  if (source_.bitsPerSample == 8) return static_cast<float>(*at - 128) / 128;
  int16_t value;
  std::memcpy(&value, at, 2);
  return static_cast<float>(value) / 32768;
}

void BlockResampler::advance(int& blocksDone) {
  const int channels = source_.channels;
  for (int c = 0; c < channels; ++c) from_[c] = to_[c];
  auto frontHasNoFrame = [this] { return offset_ + source_.blockAlign > queue_.front()->size; };
  auto finishFront = [&] {
    queue_.front()->done = true;
    queue_.pop_front();
    offset_ = 0;
    ++blocksDone;
  };
  while (!queue_.empty() && frontHasNoFrame()) finishFront();  // a block too short for one frame
  if (queue_.empty()) {
    to_[0] = to_[1] = 0;
    return;
  }
  const uint8_t* frame = queue_.front()->data + offset_;
  const size_t sampleBytes = source_.bitsPerSample / 8;
  for (int c = 0; c < channels; ++c) to_[c] = sampleAt(frame + c * sampleBytes);
  offset_ += source_.blockAlign;
  if (frontHasNoFrame()) finishFront();
}

int BlockResampler::read(float* out, size_t frames) {
  int blocksDone = 0;
  const int channels = source_.channels;
  for (size_t frame = 0; frame < frames; ++frame) {
    along_ += step_;
    while (along_ >= 1) {
      along_ -= 1;
      advance(blocksDone);
    }
    const auto between = static_cast<float>(along_);
    for (int c = 0; c < channels; ++c) *out++ = from_[c] + (to_[c] - from_[c]) * between;
  }
  return blocksDone;
}

void BlockResampler::clear() {
  for (WaveBlock* block : queue_) block->done = true;
  queue_.clear();
  offset_ = 0;
}

}  // namespace qn::platform
