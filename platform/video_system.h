// The display and the game controllers, started for the program's window and stopped after it
// (and after the sound, whose device they share a library with) is gone.
#pragma once

namespace qn::platform {

class VideoSystem {
 public:
  // Starts video (the reason on standard error when there is no display) and, where it can,
  // the game controllers.
  VideoSystem();
  ~VideoSystem();
  VideoSystem(const VideoSystem&) = delete;
  VideoSystem& operator=(const VideoSystem&) = delete;

  bool started() const { return started_; }

 private:
  bool started_ = false;
};

}  // namespace qn::platform
