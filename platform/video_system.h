// The display and the game controllers, started for the program's window and stopped after it
// (and after the sound, whose device they share a library with) is gone.
#pragma once

namespace qn::platform {

class VideoSystem {
 public:
  // Starts video and, where it can, the game controllers. A video driver that shows nothing
  // (SDL's fallback when it finds no display) counts as no display unless SDL_VIDEODRIVER asks
  // for it; the reason goes to standard error.
  VideoSystem();
  ~VideoSystem();
  VideoSystem(const VideoSystem&) = delete;
  VideoSystem& operator=(const VideoSystem&) = delete;

  bool started() const { return started_; }

 private:
  bool started_ = false;
};

}  // namespace qn::platform
