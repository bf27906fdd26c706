#include "sound/sample_decoding.h"

namespace qn {

// No purge while decoding in the background: the cast belongs to the main thread.
SampleDecoding::SampleDecoding(std::vector<uint8_t> bytes, const platform::WaveFormat& output,
                               std::function<void()> finished)
    : bytes_(std::move(bytes)),
      decoder_(bytes_.data(), bytes_.size(), output, PurgeMembers()),
      finished_(std::move(finished)),
      task_(std::make_unique<platform::BackgroundTask>([this] { return step(); })) {}

SampleDecoding::~SampleDecoding() { task_.reset(); }

bool SampleDecoding::step() {
  if (decoder_.step()) return true;
  bytes_ = {};
  ready_.store(true, std::memory_order_release);
  if (finished_) finished_();
  return false;
}

SampleRef SampleDecoding::wait() {
  task_->finish();
  return samples();
}

}  // namespace qn
