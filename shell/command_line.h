// The program's options. With none the program runs as on the device: one window, real time,
// sound. The rest serve tests and CI (headless runs, recorded input, screenshots) and the desktop.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/room_link.h"
#include "shell/screen_buffer.h"

namespace qn {

struct ShellOptions {
  bool headless = false;          // no window, no audio device, one frame interval per tick
  uint32_t frames = 0;            // end after this many frames; 0 = run until the movie quits
  std::string screenshotPath;     // write the screen as PNG at the end
  std::string recordPath;         // write the input, by frame number
  std::string replayPath;         // play input from such a file
  int scale = 0;                  // window scale; 0 = the largest that fits the desktop
  bool wholePixels = false;       // --pixels: composed at 1x, enlarged by whole factors
  bool fullscreen = false;
  DisplayFormat displayFormat = DisplayFormat::rgb565;
  std::optional<uint32_t> demoGames;  // play by itself this many games (0: for ever)
  std::string reportPath;             // the game report, JSON Lines
  bool stats = false;                 // frame statistics on standard error at the end
  std::string frameTimesPath;         // when each frame was played (to measure how devices keep in step)
  bool unpaced = false;               // the frame clock in a window as fast as it goes (--speed max)
  bool realTime = false;              // --speed real: paced to real time, headless too

  // Playing in a room (shell/room_session.h).
  bool host = false;                       // --host: open a room
  uint32_t waitFor = 1;                    // --wait-for N: devices in the room before the first frame
  std::optional<net::RoomLink> join;       // --join LINK
  std::string joinCode;                    // --join CODE: a room's short code (with --server)
  std::vector<int32_t> seats;              // --seat N, repeatable: the set-up seats claimed
  std::vector<net::WebAddress> servers;    // --server URL[,URL...]: tried in turn

  bool inRoom() const { return host || join.has_value() || !joinCode.empty(); }
};

struct CommandLine {
  std::optional<ShellOptions> options;  // nothing when the line was refused
  bool helpRequested = false;
  bool versionRequested = false;
  std::string error;                    // why it was refused
};

CommandLine parseCommandLine(int argc, const char* const* argv);
std::string usageText(std::string_view program);
std::string versionText(std::string_view program);  // "boules 1.0" and a line break

}  // namespace qn
