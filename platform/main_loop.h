// The program's main loop, as each platform runs it. The program supplies its steps; the desktop
// loops over them itself and rests between them, the browser calls them once per animation frame
// (the page must never block) and rests in its own event loop.
#pragma once

#include <cstdint>

namespace qn::platform {

class LoopSteps {
 public:
  virtual ~LoopSteps() = default;
  // One turn of the loop without waiting; false once the loop has ended.
  virtual bool step() = 0;
  // How long the loop may rest before the next step: 0 for at once, as fast as it can go.
  virtual int32_t restMilliseconds() = 0;
  // Rests up to that long, or until something happens that needs a step.
  virtual void rest(int32_t milliseconds) = 0;
  // The loop has ended: shuts the program down and answers its exit code.
  virtual int finish() = 0;
};

// Runs the loop to its end. On the desktop it returns the exit code. In the browser it returns
// at once and the steps go on from the page's animation frames: after each frame that asked for
// no rest, further steps follow within the frame's time; work waiting in the background gets a
// slice of what is left; and when the loop ends the page is told the exit code. `steps` must
// live until then.
int runMainLoop(LoopSteps& steps);

// The program ends without having run its loop (it could not start): answers the exit code; in
// the browser the page is told, as at the loop's end.
int endWithoutLoop(int exitCode);

// Whether runMainLoop returns only once the loop has ended (false in the browser).
bool mainLoopBlocks();

}  // namespace qn::platform
