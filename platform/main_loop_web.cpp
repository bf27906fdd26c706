#include <emscripten.h>

#include <algorithm>

#include "platform/background_task.h"
#include "platform/main_loop.h"

namespace qn::platform {

namespace {

// Of each animation frame (about 16.7 ms at 60 Hz), what the steps may use when they ask for no
// rest, and what background work may have of the rest: the page must stay responsive.
constexpr double kStepsMilliseconds = 12;
constexpr double kFrameMilliseconds = 15;
constexpr double kLeastBackgroundMilliseconds = 2;

LoopSteps* running = nullptr;
bool firstFrameShown = false;

void animationFrame() {
  const double start = emscripten_get_now();
  bool going = false;
  do {
    going = running->step();
  } while (going && running->restMilliseconds() == 0 && emscripten_get_now() - start < kStepsMilliseconds);
  if (!firstFrameShown) {
    firstFrameShown = true;
    EM_ASM(if (Module.onFirstFrame) Module.onFirstFrame(););
  }
  if (!going) {
    emscripten_cancel_main_loop();
    // The page may keep the last frame before the window goes; it hears the exit code through
    // the runtime's exit (Module.onExit).
    EM_ASM(if (Module.onLoopEnded) Module.onLoopEnded(););
    emscripten_force_exit(running->finish());
    return;
  }
  runBackgroundTasks(std::max(kLeastBackgroundMilliseconds, kFrameMilliseconds - (emscripten_get_now() - start)));
}

}  // namespace

int runMainLoop(LoopSteps& steps) {
  running = &steps;
  emscripten_set_main_loop(animationFrame, 0, false);  // the page's animation frames
  return 0;
}

int endWithoutLoop(int exitCode) {
  emscripten_force_exit(exitCode);
  return exitCode;
}

bool mainLoopBlocks() { return false; }

}  // namespace qn::platform
