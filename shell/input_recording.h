// Recorded input: device input messages stamped with the frame number before which they arrive,
// as text, one message a line:
//
//   # comments and blank lines are ignored
//   <frame> down|up|move|doubletap <x> <y>    stylus, device-screen pixels 0..65535
//   <frame> keydown|keyup <vk> [extended]     device virtual key 0..65535
//   <frame> char <code> [extended]            typed character 0..65535
//
// Frame numbers count the ticks of a headless run from 0 and never decrease. A replay delivers
// every message of frame f just before the f-th tick, in file order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "shell/device_input.h"

namespace qn {

struct TimedInput {
  uint32_t frame = 0;
  DeviceInput input;
  bool operator==(const TimedInput&) const = default;
};

// Parses a whole recording; on a bad line, answers false with the line number in `error`.
bool parseRecording(std::string_view text, std::vector<TimedInput>& events, std::string& error);
std::string formatRecordingLine(const TimedInput& event);

// Writes a recording as input arrives; each line is flushed so a crash keeps what came before.
class InputRecorder {
 public:
  InputRecorder() = default;
  ~InputRecorder();
  InputRecorder(const InputRecorder&) = delete;
  InputRecorder& operator=(const InputRecorder&) = delete;

  bool open(const std::string& path);
  bool isOpen() const { return file_ != nullptr; }
  void write(uint32_t frame, const DeviceInput& input);

 private:
  std::FILE* file_ = nullptr;
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
