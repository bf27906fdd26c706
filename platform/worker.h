// A worker: runs its body each time it is woken, never two runs at once, and a wake that comes
// during a run is not lost (the body runs once more). Where the platform has threads the body
// runs on a thread of its own that sleeps between wakes; where it has none (the browser) it runs
// at once on the thread that wakes it. So a wake must come from where the body may run: never
// while holding a lock the body takes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace qn::platform {

class Thread;

class Worker {
 public:
  explicit Worker(std::function<void()> body);
  ~Worker();  // stops, waiting up to kStopMilliseconds
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  static constexpr uint32_t kStopMilliseconds = 500;

  void wake();
  // No run starts after this; waits up to `milliseconds` for one under way to end, and answers
  // whether it did (a thread that does not end in time is let go).
  bool stop(uint32_t milliseconds);

 private:
  struct State;
  std::shared_ptr<State> state_;
  std::unique_ptr<Thread> thread_;  // none in the browser
};

}  // namespace qn::platform
