// The software mixer: eight channels mixed by a worker into two alternating blocks that take turns
// on the wave output device. Everything heard passes through `mixBlock`.
//
// Threads: the main thread plays, stops and asks; the worker mixes, on a thread of its own (in the
// browser, which has none, at once where it is woken: from `play` or from the device's audio
// callback). `lock_` guards the channel table, the output rate and the mixing; waking the worker
// is its only wake-up, done by `play` and by the device for every block it hands back, never
// with `lock_` held.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/threading.h"
#include "platform/wave_output.h"
#include "platform/worker.h"
#include "sound/mix_channel.h"
#include "sound/purge_members.h"
#include "sound/sample_buffer.h"
#include "sound/sample_decoding.h"
#include "sound/sound_service.h"

namespace qn {

// It is also the movie's sound service: scripts stop and query its channels directly.
class SoundMixer final : public SoundService {
 public:
  static constexpr int kChannelCount = 8;  // numbered 1 to 8
  static constexpr int kBlockFrames = 1536;
  static constexpr size_t kBlockBytes = kBlockFrames * 2;  // 8-bit stereo
  static constexpr uint32_t kWorkerShutdownMilliseconds = 500;

  // Chooses the output format for `rate` and opens the device. Without a usable device the mixer
  // still works, sounds decode to kDefaultOutputFormat and nothing is heard.
  SoundMixer(uint32_t rate, bool preferStereo, std::unique_ptr<platform::WaveOutput> device);
  ~SoundMixer() override;
  SoundMixer(const SoundMixer&) = delete;
  SoundMixer& operator=(const SoundMixer&) = delete;

  // Channels 1 to 8; other numbers are ignored.
  void play(SampleRef sample, int channel, bool loop);
  // Plays the samples of `decoding` as soon as they are ready; the channel is busy from now on.
  // Null (no device, nothing decoded) keeps the channel busy and silent until it is stopped.
  void play(const SampleDecodingRef& decoding, int channel, bool loop);
  void stop(int32_t channel) override;
  void stopAll();
  bool isBusy(int32_t channel) const override;

  // From now on a channel is busy from `play` until the sound's length has passed on this clock
  // (milliseconds), or until it is stopped; a looping one until it is stopped. The worker's
  // progress no longer counts, so on a frame clock a sound lasts the same number of frames with
  // or without a device, and without a device a sound that is never mixed still ends. A sound
  // still decoding in the background counts from its `play` as well: asked about before its
  // samples are there, the mixer finishes decoding it then and there, so the answer never depends
  // on how far the decoding got. Set it before the first sound plays.
  void followClock(std::function<uint32_t()> milliseconds);

  // Muted, the mixer runs on unchanged (channels advance, end and report busy as before) and the
  // device plays silence.
  void setMuted(bool muted) { muted_ = muted; }
  bool muted() const { return muted_; }

  // Reopens the device at the best offered format for `rate`; false when none is offered or no
  // device opens with it.
  bool chooseOutputFormat(uint32_t rate, bool preferStereo);
  const platform::WaveFormat& outputFormat() const { return outputFormat_; }
  uint32_t outputRate() const { return outputRate_; }
  bool hasDevice() const { return device_->isOpen(); }

  // A sound member's bytes (RIFF WAVE or Ogg Vorbis) decoded into the output format; null when
  // they do not decode.
  SampleRef decodeSound(const uint8_t* bytes, size_t size, const PurgeMembers& purge) const;
  // The same in the background; the worker is woken when the samples are ready.
  SampleDecodingRef decodeInBackground(std::vector<uint8_t> bytes);
  // Whether long sounds decode in the background (only with a device: without one nothing is
  // heard, and decoding at once is simplest).
  void setBackgroundDecoding(bool on) { backgroundDecoding_ = on; }
  bool decodesInBackground() const { return backgroundDecoding_ && hasDevice(); }

  // One block of 1536 frames as output bytes (value + 128, clamped), one byte per channel of the
  // output format per frame. Returns the bytes written, 0 (nothing written) when no channel plays.
  size_t mixBlock(uint8_t* out);

 private:
  bool openDevice();
  void closeDevice();
  void fillBlocks();  // the worker's body
  size_t mixLocked(uint8_t* out);  // with lock_ held
  MixChannel* channelAt(int channel);

  std::unique_ptr<platform::WaveOutput> device_;
  uint32_t offeredFormats_ = 0;
  platform::WaveFormat outputFormat_{};
  uint32_t outputRate_ = 44100;

  platform::Lock lock_;
  std::unique_ptr<platform::Worker> worker_;
  bool quit_ = true;  // no device to fill blocks for; under lock_
  std::atomic<bool> muted_{false};

  std::array<MixChannel, kChannelCount> channels_;

  // What the followed clock says about each channel (main thread only).
  struct ClockedSound {
    bool playing = false;
    bool loop = false;
    uint32_t start = 0;
    uint32_t length = 0;          // milliseconds; with `decoding`, 0: its samples tell the length
    SampleDecodingRef decoding;   // the sound's samples while they may still be decoding
  };
  std::function<uint32_t()> clock_;
  std::array<ClockedSound, kChannelCount> clocked_{};
  std::array<int32_t, kBlockFrames * 2> accumulator_{};
  std::array<std::array<uint8_t, kBlockBytes>, 2> blockBytes_{};
  std::array<platform::WaveBlock, 2> blocks_;
  int nextBlock_ = 0;  // under lock_
  bool backgroundDecoding_ = false;
};

}  // namespace qn
