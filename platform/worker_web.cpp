#include "platform/threading.h"  // Thread, complete for the member threaded builds use
#include "platform/worker.h"

namespace qn::platform {

// One thread: a wake runs the body at once, and a wake from inside a run (the body's own calls
// reaching back) asks for one more run after it.
struct Worker::State {
  std::function<void()> body;
  bool running = false;
  bool wokenAgain = false;
  bool stopped = false;
};

Worker::Worker(std::function<void()> body) : state_(std::make_shared<State>()) { state_->body = std::move(body); }

Worker::~Worker() { stop(kStopMilliseconds); }

void Worker::wake() {
  State& state = *state_;
  if (state.stopped) return;
  if (state.running) {
    state.wokenAgain = true;
    return;
  }
  state.running = true;
  do {
    state.wokenAgain = false;
    state.body();
  } while (state.wokenAgain && !state.stopped);
  state.running = false;
}

bool Worker::stop(uint32_t) {
  state_->stopped = true;
  return true;
}

}  // namespace qn::platform
