// Threads and the two synchronisation objects the system needs: a lock guarding shared state and
// an automatic-reset event that wakes one waiting thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace qn::platform {

class Lock {
 public:
  void enter() { mutex_.lock(); }
  void leave() { mutex_.unlock(); }

 private:
  friend class LockGuard;
  std::mutex mutex_;
};

class LockGuard {
 public:
  explicit LockGuard(Lock& lock) : guard_(lock.mutex_) {}

 private:
  std::lock_guard<std::mutex> guard_;
};

// Setting the event releases exactly one wait (now or the next one) and clears it again.
class AutoResetEvent {
 public:
  void set();
  void wait();
  // False when the time ran out before the event was set.
  bool waitFor(uint32_t milliseconds);

 private:
  std::mutex mutex_;
  std::condition_variable signal_;
  bool signalled_ = false;
};

// A thread that runs one function. The owner joins it or lets it go (detach) when a bounded
// wait for it runs out, as a shutdown that must not hang does.
class Thread {
 public:
  explicit Thread(std::function<void()> body);
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Waits up to the given time for the body to return; true when it did (the thread is joined).
  bool joinFor(uint32_t milliseconds);
  bool finished() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
  std::thread thread_;
};

}  // namespace qn::platform
