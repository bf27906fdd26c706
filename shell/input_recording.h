// Recorded input: device input messages stamped with the frame number before which they arrive,
// as text, one message a line:
//
//   # comments and blank lines are ignored
//   <frame> down|up|move|doubletap <x> <y>    stylus, device-screen pixels 0..65535
//   <frame> keydown|keyup <vk> [extended]     device virtual key 0..65535
//   <frame> char <code> [extended]            typed character 0..65535
//   <frame> focuslost|focusgained             the window lost or regained the focus
//
// Frame numbers count the ticks of a headless run from 0 and never decrease. A replay delivers
// every message of frame f just before the f-th tick, in file order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/device_input.h"
#include "shell/output_file.h"

namespace qn {

struct TimedInput {
  uint32_t frame = 0;
  DeviceInput input;
  bool operator==(const TimedInput&) const = default;
};

// A recording is read whole before the run starts; anything larger is refused unread, so that
// an endless or huge input (a device, a wrong file) cannot exhaust memory.
inline constexpr size_t kLargestRecording = size_t(64) << 20;

// Parses a whole recording (a UTF-8 byte-order mark before it is passed over); on a bad line,
// answers false with the line number in `error`.
bool parseRecording(std::string_view text, std::vector<TimedInput>& events, std::string& error);
// Reads and parses the recording at `path`; false with the reason in `error`.
bool loadRecording(const std::string& path, std::vector<TimedInput>& events, std::string& error);
std::string formatRecordingLine(const TimedInput& event);

// Writes a recording as input arrives; each line is flushed so a crash keeps what came before.
class InputRecorder {
 public:
  bool open(const std::string& path);
  bool isOpen() const { return file_.isOpen(); }
  void write(uint32_t frame, const DeviceInput& input);
  // The file, to close and to ask whether every line was written.
  OutputFile& file() { return file_; }

 private:
  OutputFile file_;
};

// Hands out a parsed recording frame by frame.
class InputReplay {
 public:
  explicit InputReplay(std::vector<TimedInput> events) : events_(std::move(events)) {}

  // Calls `deliver` for each message due before tick `frame`.
  template <typename Deliver>
  void deliverDue(uint32_t frame, Deliver&& deliver) {
    while (next_ < events_.size() && events_[next_].frame <= frame) deliver(events_[next_++].input);
  }
  bool finished() const { return next_ == events_.size(); }

 private:
  std::vector<TimedInput> events_;
  size_t next_ = 0;
};

}  // namespace qn
