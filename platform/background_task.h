// Work that goes on beside the main loop without holding up a frame: on a thread of its own where
// the platform has threads; where it has none (the browser), in slices between frames, as much as
// the main loop's spare time allows. The work is a step function that does a bounded piece of it
// and answers whether any remains.
#pragma once

#include <functional>
#include <memory>

namespace qn::platform {

class BackgroundTask {
 public:
  explicit BackgroundTask(std::function<bool()> step);
  ~BackgroundTask();  // a thread is waited for; in the browser the rest of the work is dropped
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  // Waits for the work to end; in the browser the rest runs now, on the calling thread.
  void finish();

  struct State;

 private:
  std::shared_ptr<State> state_;
};

// The browser's main loop gives waiting tasks slices of its spare time: steps run, task after
// task, until `milliseconds` have passed. Where tasks have threads it does nothing.
void runBackgroundTasks(double milliseconds);

}  // namespace qn::platform
