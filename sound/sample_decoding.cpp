#include "sound/sample_decoding.h"

#include "sound/decode_sound.h"

namespace qn {

namespace {
// Once `done_` is set only the thread's own ending is left.
constexpr uint32_t kEndingMilliseconds = 1000;
}  // namespace

SampleDecoding::SampleDecoding(std::vector<uint8_t> bytes, const platform::WaveFormat& output,
                               std::function<void()> finished)
    : bytes_(std::move(bytes)) {
  thread_ = std::make_unique<platform::Thread>([this, output, finished = std::move(finished)] {
    // No purge on this thread: the cast belongs to the main thread.
    samples_ = decodeSound(bytes_.data(), bytes_.size(), output, PurgeMembers());
    bytes_ = {};
    ready_.store(true, std::memory_order_release);
    done_.set();
    if (finished) finished();
  });
}

SampleDecoding::~SampleDecoding() {
  wait();
  thread_->joinFor(kEndingMilliseconds);
}

SampleRef SampleDecoding::wait() {
  if (!ready()) {
    done_.wait();
    done_.set();  // for the next waiter
  }
  return samples_;
}

}  // namespace qn
