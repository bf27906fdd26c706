// A local game of two people for rooms' tests and benchmarks: played and recorded in this process
// (headless, through the program's own input path) with the seat that has the say at every
// frame, and each device's copy of its recording.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/input_recording.h"

namespace qn::testing {

struct LocalGame {
  std::vector<TimedInput> input;
  std::vector<int32_t> seatByFrame;  // the seat with the say before each frame's tick
  std::string problem;               // why it could not be played or recorded
};

// Plays a game of two people headless (their taps and keys from `seed`), recording it in
// `recordPath`; it ends 30 frames after the game came back to the menu.
LocalGame playLocally(uint32_t seed, const std::string& recordPath);
// A device's copy: the original input in the frames whose seat is one of `own`, and input that
// would change the game in the others' (an up key, a tap mid-screen), every 7th frame.
std::string copyFor(const LocalGame& game, const std::vector<int32_t>& own);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
// Empty when the reports are the same, else their first line that differs.
std::string firstDifference(const std::string& report, const std::string& expected);
// How many throws a report holds so far.
size_t throwsIn(const std::string& report);

}  // namespace qn::testing
