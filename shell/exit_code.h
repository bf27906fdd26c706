// The program's exit codes, so that a script or CI that starts it can tell how a run ended. Only a
// run that did all it was asked ends with 0; the first failure of a run decides its code.
#pragma once

#include <array>

#include "engine/media_service.h"

namespace qn {

enum class ExitCode : int {
  success = 0,
  unexpectedError = 1,   // the last-resort handler caught an error nothing else handled
  usage = 2,             // an unknown option or a bad value
  mediaMissing = 3,      // no media file, and "Continue playback?" was answered No
  mediaInvalid = 4,      // empty, too short, or a bad magic or trailer word
  mediaWrongSize = 5,    // a size other than the movie's, and "Continue playback?" was answered No
  recordingRefused = 6,  // --replay: unreadable, too large or not a recording
  writeFailed = 7,       // a file the program writes (screenshot, recording, report, debug log) failed
  noDisplay = 8,         // no display, no window, or a screen below 16 bits per pixel
  gameStalled = 9,       // --demo: a game did not come back to the menu in time
  roomFailed = 10,       // a room: no server, refused, its log broken, or this game disagreed with the room's
};

inline constexpr int exitStatus(ExitCode code) { return static_cast<int>(code); }

// Indexed by MediaCheck.
inline constexpr std::array<ExitCode, 4> kExitCodeByMediaCheck = {ExitCode::success, ExitCode::mediaMissing,
                                                                  ExitCode::mediaInvalid, ExitCode::mediaWrongSize};
static_assert(static_cast<size_t>(MediaCheck::wrongSize) + 1 == kExitCodeByMediaCheck.size());

inline constexpr ExitCode exitCodeFor(MediaCheck check) { return kExitCodeByMediaCheck[static_cast<size_t>(check)]; }

}  // namespace qn
