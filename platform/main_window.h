// The main window: the 240 x 320 device screen shown at an integer scale, centred with black bars
// when the window is larger (resized or full screen). The screen's pixels live in a streaming
// texture of the display format; a present updates the changed rectangle of it and shows the
// whole screen. The focus ring is drawn by the window over the scaled screen, so the screen's own
// pixels (screenshots, recordings) never contain it.
//
// In the browser the window is the page's canvas at the screen's own size; the page scales it,
// and the screen goes onto it without SDL's renderer (see screen_canvas.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/screen_canvas.h"
#include "platform/screen_point.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Rect;

namespace qn::platform {

// The program's icon: square RGBA bytes.
struct WindowIcon {
  int size = 0;
  const unsigned char* rgba = nullptr;
};

class MainWindow {
 public:
  MainWindow() = default;
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the hidden window, its renderer and a texture of 16 (5-6-5) or 32 (8-8-8-8) bits per
  // pixel; false (with the reason on standard error) when any of them cannot be made. Scale 0
  // takes the largest that fits the desktop.
  bool create(const std::string& title, int scale, bool fullscreen, int bitsPerPixel, WindowIcon icon);

  SDL_Window* window() const { return window_; }
  uint32_t windowId() const;

  void show();
  void raise();
  void setTitle(const std::string& title);
  void toggleFullscreen();
  void setScale(int scale);  // leaves full screen; the window becomes 240 x 320 times scale

  // Streams the changed rectangle of the screen (`pixels` is its top left pixel, rows `pitch`
  // bytes apart) into the texture and shows the screen.
  void present(const uint8_t* screenPixels, int pitch, const ScreenRect& changed);
  // Shows the texture again (the window was exposed or resized).
  void repaint();
  // A ring around a rect of the device screen, or none; shown at once.
  void setFocusRing(std::optional<ScreenRect> screenRect);
  const std::optional<ScreenRect>& focusRing() const { return focusRing_; }

  // The device-screen point under a window point; points on the bars are clamped to the screen.
  ScreenPoint screenPointAt(int windowX, int windowY) const;

  // The largest integer scale at which the screen fits the desktop's usable area (at least 1).
  static int fittingScale();

 private:
  void letterbox(SDL_Rect& box) const;
  void showIcon(WindowIcon icon);
  void drawFocusRing(const SDL_Rect& box);

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int bytesPerPixel_ = 2;
  std::optional<ScreenRect> focusRing_;
  std::unique_ptr<ScreenCanvas> canvas_;  // the browser's
};

}  // namespace qn::platform
