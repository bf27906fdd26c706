#include <atomic>

#include "platform/threading.h"
#include "platform/worker.h"

namespace qn::platform {

// Shared with the thread, so that one let go after a stop that timed out still finds it.
struct Worker::State {
  std::function<void()> body;
  AutoResetEvent wake;
  std::atomic<bool> stopping{false};
};

Worker::Worker(std::function<void()> body) : state_(std::make_shared<State>()) {
  state_->body = std::move(body);
  thread_ = std::make_unique<Thread>([state = state_] {
    for (;;) {
      state->wake.wait();
      if (state->stopping) return;
      state->body();
    }
  });
}

Worker::~Worker() {
  if (!state_->stopping) stop(kStopMilliseconds);
}

void Worker::wake() { state_->wake.set(); }

bool Worker::stop(uint32_t milliseconds) {
  state_->stopping = true;
  state_->wake.set();
  return !thread_ || thread_->joinFor(milliseconds);
}

}  // namespace qn::platform
