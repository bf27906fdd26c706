#include "platform/threading.h"

#include <chrono>

namespace qn::platform {

void AutoResetEvent::set() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    signalled_ = true;
  }
  signal_.notify_one();
}

void AutoResetEvent::wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  signal_.wait(lock, [this] { return signalled_; });
  signalled_ = false;
}

bool AutoResetEvent::waitFor(uint32_t milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!signal_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return signalled_; }))
    return false;
  signalled_ = false;
  return true;
}

// Shared with the running body so that a detached thread can still report its end safely.
struct Thread::State {
  std::mutex mutex;
  std::condition_variable ended;
  bool finished = false;
};

Thread::Thread(std::function<void()> body) : state_(std::make_shared<State>()) {
  thread_ = std::thread([state = state_, body = std::move(body)] {
    body();
    {
      std::lock_guard<std::mutex> guard(state->mutex);
      state->finished = true;
    }
    state->ended.notify_all();
  });
}

Thread::~Thread() {
  if (thread_.joinable()) {
    if (finished()) thread_.join();
    else thread_.detach();
  }
}

bool Thread::joinFor(uint32_t milliseconds) {
  if (!thread_.joinable()) return true;
  std::unique_lock<std::mutex> lock(state_->mutex);
  if (!state_->ended.wait_for(lock, std::chrono::milliseconds(milliseconds),
                              [this] { return state_->finished; }))
    return false;
  lock.unlock();
  thread_.join();
  return true;
}

bool Thread::finished() const {
  std::lock_guard<std::mutex> guard(state_->mutex);
  return state_->finished;
}

}  // namespace qn::platform
