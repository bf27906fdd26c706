#include "sound/sound_mixer.h"

#include <algorithm>

#include "sound/decode_sound.h"
#include "sound/output_format.h"
#include "sound/sample_buffer.h"

namespace qn {

SoundMixer::SoundMixer(uint32_t rate, bool preferStereo, std::unique_ptr<platform::WaveOutput> device)
    : device_(std::move(device)), worker_(std::make_unique<platform::Worker>([this] { fillBlocks(); })) {
  offeredFormats_ = device_->offeredFormats();
  if (!chooseOutputFormat(rate, preferStereo) && outputFormat_.channels == 0) {
    outputFormat_ = kDefaultOutputFormat;
    outputRate_ = kDefaultOutputFormat.samplesPerSecond;
  }
}

SoundMixer::~SoundMixer() {
  closeDevice();
  worker_->stop(kWorkerShutdownMilliseconds);
  platform::LockGuard guard(lock_);
  for (MixChannel& channel : channels_) channel.release();
}

MixChannel* SoundMixer::channelAt(int channel) {
  if (channel < 1 || channel > kChannelCount) return nullptr;
  return &channels_[static_cast<size_t>(channel - 1)];
}

namespace {

// Rounded up, so a sound of any length is busy for at least one millisecond.
uint32_t lengthInMilliseconds(const SampleBuffer& sample) {
  const WaveFormat& format = sample.format();
  if (format.blockAlign == 0 || format.samplesPerSecond == 0) return 0;
  const uint64_t frames = sample.size() / format.blockAlign;
  return static_cast<uint32_t>((frames * 1000 + format.samplesPerSecond - 1) / format.samplesPerSecond);
}

}  // namespace

void SoundMixer::play(SampleRef sample, int channel, bool loop) {
  MixChannel* target = channelAt(channel);
  if (!target) return;
  const uint32_t length = sample ? lengthInMilliseconds(*sample) : 0;
  bool started = false;
  {
    platform::LockGuard guard(lock_);
    started = target->start(std::move(sample), loop, outputRate_);
  }
  if (clock_) clocked_[static_cast<size_t>(channel - 1)] = {started, loop, clock_(), length, nullptr};
  worker_->wake();
}

void SoundMixer::play(const SampleDecodingRef& decoding, int channel, bool loop) {
  if (decoding && decoding->ready()) return play(decoding->samples(), channel, loop);
  MixChannel* target = channelAt(channel);
  if (!target) return;
  {
    platform::LockGuard guard(lock_);
    target->await(decoding, loop);
  }
  if (clock_) clocked_[static_cast<size_t>(channel - 1)] = {true, loop, clock_(), 0, decoding};
  worker_->wake();
}

void SoundMixer::stop(int32_t channel) {
  MixChannel* target = channelAt(channel);
  if (!target) return;
  clocked_[static_cast<size_t>(channel - 1)] = {};  // no longer holds a decoding's samples
  platform::LockGuard guard(lock_);
  target->release();
}

void SoundMixer::followClock(std::function<uint32_t()> milliseconds) { clock_ = std::move(milliseconds); }

void SoundMixer::stopAll() {
  for (int channel = 1; channel <= kChannelCount; ++channel) stop(channel);
}

bool SoundMixer::isBusy(int32_t channel) const {
  if (channel < 1 || channel > kChannelCount) return false;
  const size_t index = static_cast<size_t>(channel - 1);
  if (!clock_) return channels_[index].busy;
  const ClockedSound& sound = clocked_[index];
  if (!sound.playing) return false;
  uint32_t length = sound.length;
  if (sound.decoding) {
    const SampleRef samples = sound.decoding->wait();
    if (!samples) return false;  // bytes that do not decode play nothing
    length = lengthInMilliseconds(*samples);
  }
  return sound.loop || clock_() - sound.start < length;
}

bool SoundMixer::chooseOutputFormat(uint32_t rate, bool preferStereo) {
  std::optional<platform::WaveFormat> chosen = qn::chooseOutputFormat(rate, preferStereo, offeredFormats_);
  if (!chosen) return false;
  closeDevice();
  {
    platform::LockGuard guard(lock_);
    outputFormat_ = *chosen;
    outputRate_ = chosen->samplesPerSecond;
    for (MixChannel& channel : channels_) channel.retune(outputRate_);
  }
  return openDevice();
}

// The worker lives as long as the mixer; without an open device nothing wakes it but `play`, and
// it finds no block to fill.
bool SoundMixer::openDevice() {
  bool opened = false;
  for (int device = 0, count = device_->deviceCount(); device < count && !opened; ++device)
    opened = device_->open(device, outputFormat_, *worker_);
  if (!opened) return false;
  platform::LockGuard guard(lock_);
  for (size_t i = 0; i < blocks_.size(); ++i) {
    blocks_[i].data = blockBytes_[i].data();
    blocks_[i].size = static_cast<uint32_t>(kBlockFrames * outputFormat_.channels);
    blocks_[i].done = true;
  }
  nextBlock_ = 0;
  quit_ = false;
  return true;
}

// Quit is raised under the lock, so the worker hands no block to the device after this point.
void SoundMixer::closeDevice() {
  if (!device_->isOpen()) return;
  {
    platform::LockGuard guard(lock_);
    quit_ = true;
  }
  device_->reset();
  device_->close();
}

// Fills the blocks the device has handed back, in turn, while anything plays; when nothing does
// the device runs dry, and the next `play` wakes the worker again.
void SoundMixer::fillBlocks() {
  platform::LockGuard guard(lock_);
  while (!quit_ && blocks_[static_cast<size_t>(nextBlock_)].done) {
    platform::WaveBlock& block = blocks_[static_cast<size_t>(nextBlock_)];
    if (mixLocked(block.data) == 0) return;
    block.done = false;
    device_->write(block);
    nextBlock_ ^= 1;
  }
}

SampleRef SoundMixer::decodeSound(const uint8_t* bytes, size_t size, const PurgeMembers& purge) const {
  return qn::decodeSound(bytes, size, outputFormat_, purge);
}

SampleDecodingRef SoundMixer::decodeInBackground(std::vector<uint8_t> bytes) {
  return std::make_shared<SampleDecoding>(std::move(bytes), outputFormat_, [this] { worker_->wake(); });
}

size_t SoundMixer::mixBlock(uint8_t* out) {
  platform::LockGuard guard(lock_);
  return mixLocked(out);
}

size_t SoundMixer::mixLocked(uint8_t* out) {
  accumulator_.fill(0);
  bool mixed = false;
  for (MixChannel& channel : channels_) {
    channel.startIfReady(outputRate_);
    if (!channel.sample) continue;
    channel.render(channel, accumulator_.data(), kBlockFrames);
    mixed = true;
  }
  if (!mixed) return 0;
  if (muted_) accumulator_.fill(0);
  auto toByte = [](int32_t value) { return static_cast<uint8_t>(std::clamp(value + 128, 0, 255)); };
  if (outputFormat_.channels == 1) {
    // A mono device takes one byte per frame: the middle of the left and right sums.
    for (size_t frame = 0; frame < kBlockFrames; ++frame)
      out[frame] = toByte((accumulator_[2 * frame] + accumulator_[2 * frame + 1]) >> 1);
    return kBlockFrames;
  }
  std::transform(accumulator_.begin(), accumulator_.end(), out, toByte);
  return kBlockBytes;
}

}  // namespace qn
