#include <emscripten.h>

#include <algorithm>
#include <vector>

#include "platform/background_task.h"

namespace qn::platform {

struct BackgroundTask::State {
  std::function<bool()> step;
  bool done = false;
};

namespace {
// The tasks with work left, oldest first.
std::vector<std::shared_ptr<BackgroundTask::State>> waiting;
}  // namespace

BackgroundTask::BackgroundTask(std::function<bool()> step) : state_(std::make_shared<State>()) {
  state_->step = std::move(step);
  waiting.push_back(state_);
}

// Work nobody waits for any more is dropped.
BackgroundTask::~BackgroundTask() { waiting.erase(std::remove(waiting.begin(), waiting.end(), state_), waiting.end()); }

void BackgroundTask::finish() {
  while (!state_->done) state_->done = !state_->step();
  waiting.erase(std::remove(waiting.begin(), waiting.end(), state_), waiting.end());
}

void runBackgroundTasks(double milliseconds) {
  const double end = emscripten_get_now() + milliseconds;
  while (!waiting.empty() && emscripten_get_now() < end) {
    std::shared_ptr<BackgroundTask::State> task = waiting.front();
    task->done = !task->step();
    if (task->done) waiting.erase(waiting.begin());
  }
}

}  // namespace qn::platform
