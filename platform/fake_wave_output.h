// A wave output device without sound hardware, driven by hand: blocks written to it wait in a
// queue until `finishNextBlock` plays one (its bytes are kept) and hands it back. Lets tests run
// the mixer's worker thread deterministically. One that offers formats but refuses to open gives
// a mixer with an output format and no worker, which mixes only when asked.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/wave_output.h"

namespace qn::platform {

class FakeWaveOutput final : public WaveOutput {
 public:
  explicit FakeWaveOutput(uint32_t offered = kAll8BitFormats, bool opens = true)
      : offered_(offered), opens_(opens) {}

  uint32_t offeredFormats() override { return offered_; }
  int deviceCount() override { return offered_ ? 1 : 0; }
  bool open(int device, const WaveFormat& format, Worker& blockDone) override;
  bool isOpen() const override;
  void write(WaveBlock& block) override;
  void reset() override;
  void close() override;

  // Plays the oldest queued block: keeps its bytes, marks it done, wakes the worker.
  bool finishNextBlock();
  // Waits until at least `count` blocks are queued; false when the time ran out.
  bool waitForQueued(size_t count, uint32_t milliseconds);

  WaveFormat openedFormat() const;
  int openCount() const;
  std::vector<uint8_t> played() const;

 private:
  Worker* returnAllBlocks();  // with mutex_ held: marks them done; the worker to wake

  const uint32_t offered_;
  const bool opens_;
  mutable std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<WaveBlock*> queue_;
  std::vector<uint8_t> played_;
  WaveFormat format_;
  Worker* blockDone_ = nullptr;
  int openCount_ = 0;
};

}  // namespace qn::platform
