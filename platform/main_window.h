// The main window: the 240 x 320 device screen shown as large as the window allows, centred with
// black bars on the sides the screen does not fill. The screen arrives composed at a presentation
// scale k (240k x 320k pixels, see `presentationScale`); its pixels live in a streaming texture of
// the display format and of that size, and a present updates the changed rectangle of it and
// shows the whole screen. Shown at exactly its size it is shown pixel for pixel; at any other
// size it is fitted smoothly. With whole pixels (`--pixels`) the screen is always 240 x 320 and
// enlarged by the largest whole factor that fits, each pixel a square. The focus ring is drawn by
// the window over the screen, so the screen's own pixels (screenshots, recordings) never contain
// it.
//
// In the browser the window is the page's canvas at the size of the screen it is given; the page
// scales it, and the screen goes onto it without SDL's renderer (see screen_canvas.h).
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

// A screen's pixels as the window takes them: `width` x `height` in the display format, rows
// `pitch` bytes apart, top row first.
struct ScreenPixels {
  const uint8_t* pixels = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;
};

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

  // Creates the hidden window (240 x 320 times `scale`; 0 takes the largest whole scale that fits
  // the desktop) and its renderer, for screens of 16 (5-6-5) or 32 (8-8-8-8) bits per pixel;
  // false (with the reason on standard error) when either cannot be made. `wholePixels` shows
  // the 240 x 320 screen enlarged by whole factors only.
  bool create(const std::string& title, int scale, bool fullscreen, int bitsPerPixel, bool wholePixels, WindowIcon icon);

  SDL_Window* window() const { return window_; }
  uint32_t windowId() const;

  void show();
  void raise();
  void setTitle(const std::string& title);
  void toggleFullscreen();
  void setScale(int scale);  // leaves full screen; the window becomes 240 x 320 times scale

  // Streams the changed rectangle of the screen (in the screen's own pixels) into the texture,
  // made anew when the screen's size changed, and shows the screen.
  void present(const ScreenPixels& screen, const ScreenRect& changed);
  // Shows the texture again (the window was exposed).
  void repaint();
  // The window's size changed, or SDL asked for another (full screen, a new scale): a window no
  // window manager looks after is given that size (unmanaged_window.h), and the screen is laid
  // out for it.
  void sizeChanged();
  // The presentation scale the window asks for: the smallest k (1 to 4) at which the composed
  // screen is at least as large as the window shows it, so it is shown crisp (at k itself) or
  // fitted down; 1 with whole pixels. None in the browser, where the page chooses.
  std::optional<int> presentationScale() const;
  // A ring around a rect of the device screen, or none; shown at once.
  void setFocusRing(std::optional<ScreenRect> screenRect);
  const std::optional<ScreenRect>& focusRing() const { return focusRing_; }

  // The device-screen point (240 x 320, whatever the scale) under a window point; points on the
  // bars are clamped to the screen.
  ScreenPoint screenPointAt(int windowX, int windowY) const;

  // The largest integer scale at which the screen fits the desktop's usable area (at least 1).
  static int fittingScale();

 private:
  // Where the screen lies in the renderer's output, in output pixels.
  void letterbox(SDL_Rect& box) const;
  void showIcon(WindowIcon icon);
  void drawFocusRing(const SDL_Rect& box);
  bool makeTexture(int width, int height);

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  int bytesPerPixel_ = 2;
  bool wholePixels_ = false;
  std::optional<ScreenRect> focusRing_;
  std::unique_ptr<ScreenCanvas> canvas_;  // the browser's
};

}  // namespace qn::platform
