#include "platform/background_task.h"

#include "platform/threading.h"

namespace qn::platform {

struct BackgroundTask::State {
  std::unique_ptr<Thread> thread;
};

BackgroundTask::BackgroundTask(std::function<bool()> step) : state_(std::make_shared<State>()) {
  state_->thread = std::make_unique<Thread>([step = std::move(step)] {
    while (step()) {
    }
  });
}

BackgroundTask::~BackgroundTask() { finish(); }

void BackgroundTask::finish() {
  // A step is bounded: the wait is as long as the work's rest.
  while (!state_->thread->joinFor(1000)) {
  }
}

void runBackgroundTasks(double) {}

}  // namespace qn::platform
