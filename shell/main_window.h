// The main window on the desktop: the 240 x 320 device screen shown at an integer scale,
// centred with black bars when the window is larger (resized or full screen). The screen's
// pixels live in a streaming texture of the display format; a present updates the changed
// rectangle of it and shows the whole screen. The focus ring is drawn by the window over the
// scaled screen, so the screen's own pixels (screenshots, recordings) never contain it.
#pragma once

#include <SDL.h>

#include <optional>
#include <string>

#include "script/stage_rect.h"
#include "shell/screen_buffer.h"

namespace qn {

struct ScreenPoint {
  int x = 0, y = 0;
};

class MainWindow {
 public:
  MainWindow() = default;
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the hidden window, its renderer and texture; false (with the reason on standard
  // error) when any of them cannot be made. Scale 0 takes the largest that fits the desktop.
  bool create(const std::string& title, int scale, bool fullscreen, DisplayFormat format);

  SDL_Window* window() const { return window_; }
  uint32_t windowId() const { return window_ ? SDL_GetWindowID(window_) : 0; }

  void show();
  void raise();
  void toggleFullscreen();
  void setScale(int scale);  // leaves full screen; the window becomes 240 x 320 times scale

  // Streams the changed rectangle of the screen into the texture and shows the screen.
  void present(const ScreenBuffer& screen, const IntRect& changed);
  // Shows the texture again (the window was exposed or resized).
  void repaint();
  // A ring around a rect of the device screen, or none; shown at once.
  void setFocusRing(std::optional<IntRect> screenRect);
  const std::optional<IntRect>& focusRing() const { return focusRing_; }

  // The device-screen point under a window point; points on the bars are clamped to the screen.
  ScreenPoint screenPointAt(int windowX, int windowY) const;

  // The largest integer scale at which the screen fits the desktop's usable area (at least 1).
  static int fittingScale();

 private:
  SDL_Rect letterbox() const;
  void showIcon();
  void drawFocusRing(const SDL_Rect& box);

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  std::optional<IntRect> focusRing_;
};

}  // namespace qn
