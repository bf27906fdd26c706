#include "platform/main_loop.h"

namespace qn::platform {

int runMainLoop(LoopSteps& steps) {
  while (steps.step()) steps.rest(steps.restMilliseconds());
  return steps.finish();
}

int endWithoutLoop(int exitCode) { return exitCode; }

bool mainLoopBlocks() { return true; }

}  // namespace qn::platform
