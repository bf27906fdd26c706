#include "platform/fake_wave_output.h"

#include <chrono>

namespace qn::platform {

bool FakeWaveOutput::open(int device, const WaveFormat& format, Worker& blockDone) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (!opens_ || device != 0 || blockDone_) return false;
  format_ = format;
  blockDone_ = &blockDone;
  ++openCount_;
  return true;
}

bool FakeWaveOutput::isOpen() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return blockDone_ != nullptr;
}

void FakeWaveOutput::write(WaveBlock& block) {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    queue_.push_back(&block);
  }
  queued_.notify_all();
}

Worker* FakeWaveOutput::returnAllBlocks() {
  for (WaveBlock* block : queue_) block->done = true;
  queue_.clear();
  return blockDone_;
}

void FakeWaveOutput::reset() {
  Worker* worker = nullptr;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    worker = returnAllBlocks();
  }
  if (worker) worker->wake();
}

void FakeWaveOutput::close() {
  Worker* worker = nullptr;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    worker = returnAllBlocks();
    blockDone_ = nullptr;
  }
  if (worker) worker->wake();
}

bool FakeWaveOutput::finishNextBlock() {
  Worker* worker = nullptr;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    if (queue_.empty()) return false;
    WaveBlock* block = queue_.front();
    queue_.pop_front();
    played_.insert(played_.end(), block->data, block->data + block->size);
    block->done = true;
    worker = blockDone_;
  }
  if (worker) worker->wake();
  return true;
}

bool FakeWaveOutput::waitForQueued(size_t count, uint32_t milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  return queued_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                          [&] { return queue_.size() >= count; });
}

WaveFormat FakeWaveOutput::openedFormat() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return format_;
}

int FakeWaveOutput::openCount() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return openCount_;
}

std::vector<uint8_t> FakeWaveOutput::played() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return played_;
}

}  // namespace qn::platform
