#include "platform/main_window.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/focus_ring.h"
#include "platform/platform.h"
#include "platform/unmanaged_window.h"

namespace qn::platform {

namespace {

#ifdef __EMSCRIPTEN__
// The canvas keeps the screen's own size and the page scales it by a whole factor: a resizable
// window would make SDL resize the canvas to the page instead.
constexpr bool kWindowScales = false;
#else
constexpr bool kWindowScales = true;
#endif

void complain(const char* what) { debugOutput(std::string(what) + ": " + SDL_GetError() + "\n"); }

}  // namespace

MainWindow::~MainWindow() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

uint32_t MainWindow::windowId() const { return window_ ? SDL_GetWindowID(window_) : 0; }

void MainWindow::showIcon(WindowIcon icon) {
  if (icon.rgba == nullptr) return;
  // SDL only reads the pixels: the surface borrows the constant bytes.
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(icon.rgba), icon.size,
                                                            icon.size, 32, icon.size * 4, SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) {
    complain("cannot make the window icon");
    return;
  }
  SDL_SetWindowIcon(window_, surface);
  SDL_FreeSurface(surface);
}

int MainWindow::fittingScale() {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
  return std::max(1, std::min(usable.w / kScreenWidth, usable.h / kScreenHeight));
}

bool MainWindow::create(const std::string& title, int scale, bool fullscreen, int bitsPerPixel, bool wholePixels,
                        WindowIcon icon) {
  wholePixels_ = wholePixels;
  if (!kWindowScales) scale = 1;
  if (scale <= 0) scale = fittingScale();
  Uint32 flags = SDL_WINDOW_HIDDEN | (kWindowScales ? SDL_WINDOW_RESIZABLE : 0) |
                 (fullscreen && kWindowScales ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth * scale,
                             kScreenHeight * scale, flags);
  if (window_ == nullptr) {
    complain("cannot create the window");
    return false;
  }
  SDL_SetWindowMinimumSize(window_, kScreenWidth, kScreenHeight);
  showIcon(icon);
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) {
    complain("cannot create the renderer");
    return false;
  }
  bytesPerPixel_ = bitsPerPixel == 32 ? 4 : 2;
#ifdef __EMSCRIPTEN__
  canvas_ = std::make_unique<ScreenCanvas>(bytesPerPixel_);
  return true;
#else
  return makeTexture(kScreenWidth, kScreenHeight);
#endif
}

bool MainWindow::makeTexture(int width, int height) {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  const Uint32 format = bytesPerPixel_ == 4 ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB565;
  texture_ = SDL_CreateTexture(renderer_, format, SDL_TEXTUREACCESS_STREAMING, width, height);
  textureWidth_ = texture_ != nullptr ? width : 0;
  textureHeight_ = texture_ != nullptr ? height : 0;
  if (texture_ == nullptr) complain("cannot create the screen texture");
  return texture_ != nullptr;
}

void MainWindow::show() {
  SDL_ShowWindow(window_);
  sizeChanged();
}

void MainWindow::sizeChanged() {
  holdUnmanagedWindowToItsSize(window_);
  repaint();
}

void MainWindow::raise() {
  SDL_RestoreWindow(window_);
  SDL_RaiseWindow(window_);
}

void MainWindow::setTitle(const std::string& title) { SDL_SetWindowTitle(window_, title.c_str()); }

void MainWindow::toggleFullscreen() {
  if (!kWindowScales) return;  // the page has its own full-screen button
  bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  sizeChanged();
}

void MainWindow::setScale(int scale) {
  if (!kWindowScales) return;
  SDL_SetWindowFullscreen(window_, 0);
  SDL_RestoreWindow(window_);
  SDL_SetWindowSize(window_, kScreenWidth * scale, kScreenHeight * scale);
  sizeChanged();
}

void MainWindow::letterbox(SDL_Rect& box) const {
  int width = 0, height = 0;
  SDL_GetRendererOutputSize(renderer_, &width, &height);
  if (wholePixels_) {
    const int scale = std::max(1, std::min(width / kScreenWidth, height / kScreenHeight));
    box = {0, 0, kScreenWidth * scale, kScreenHeight * scale};
  } else {
    // As large as fits, the screen's shape kept: the side that limits it is filled exactly.
    const double scale = std::min(double(width) / kScreenWidth, double(height) / kScreenHeight);
    box = {0, 0, std::clamp(static_cast<int>(std::lround(kScreenWidth * scale)), 1, std::max(width, 1)),
           std::clamp(static_cast<int>(std::lround(kScreenHeight * scale)), 1, std::max(height, 1))};
  }
  box.x = (width - box.w) / 2;
  box.y = (height - box.h) / 2;
}

std::optional<int> MainWindow::presentationScale() const {
  if (!kWindowScales) return std::nullopt;
  if (wholePixels_) return 1;
  SDL_Rect box;
  letterbox(box);
  return std::clamp((box.w + kScreenWidth - 1) / kScreenWidth, 1, kLargestPresentationScale);
}

#ifdef __EMSCRIPTEN__

void MainWindow::present(const ScreenPixels& screen, const ScreenRect& changed) { canvas_->present(screen, changed); }

// The page keeps the canvas as it was: only the ring may need drawing again.
void MainWindow::repaint() { canvas_->setFocusRing(focusRing_); }

#else

void MainWindow::present(const ScreenPixels& screen, const ScreenRect& changed) {
  // A screen of a new size gets a new texture, which holds nothing yet: the whole screen goes in.
  const bool resized = screen.width != textureWidth_ || screen.height != textureHeight_;
  if (resized && !makeTexture(screen.width, screen.height)) return;
  const ScreenRect streamed = resized ? ScreenRect{0, 0, screen.width, screen.height} : changed;
  if (streamed.width() > 0 && streamed.height() > 0) {
    SDL_Rect rect{streamed.left, streamed.top, streamed.width(), streamed.height()};
    const uint8_t* first = screen.pixels + streamed.top * screen.pitch + streamed.left * bytesPerPixel_;
    SDL_UpdateTexture(texture_, &rect, first, screen.pitch);
  }
  repaint();
}

void MainWindow::repaint() {
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_Rect box;
  letterbox(box);
  // Pixel for pixel, or by whole factors, each pixel stays a square; any other size is fitted
  // smoothly.
  const bool exact = box.w == textureWidth_ || box.w % std::max(textureWidth_, 1) == 0;
  SDL_SetTextureScaleMode(texture_, exact ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  SDL_RenderCopy(renderer_, texture_, nullptr, &box);
  if (focusRing_) drawFocusRing(box);
  SDL_RenderPresent(renderer_);
}

#endif

void MainWindow::setFocusRing(std::optional<ScreenRect> screenRect) {
  if (screenRect == focusRing_) return;
  focusRing_ = screenRect;
  repaint();
}

void MainWindow::drawFocusRing(const SDL_Rect& box) {
  for (const RingOutline& outline : focusRingOutlines(*focusRing_, {box.x, box.y, box.x + box.w, box.y + box.h})) {
    SDL_SetRenderDrawColor(renderer_, outline.dark ? 0 : 255, outline.dark ? 0 : 221, 0, 255);
    const SDL_Rect edge{outline.x, outline.y, outline.width, outline.height};
    SDL_RenderDrawRect(renderer_, &edge);
  }
}

ScreenPoint MainWindow::screenPointAt(int windowX, int windowY) const {
  // Mouse coordinates are in window points; the renderer may have more pixels (high density).
  int windowWidth = 1, windowHeight = 1, outputWidth = 1, outputHeight = 1;
  SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
  SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
  int64_t x = int64_t{windowX} * outputWidth / std::max(1, windowWidth);
  int64_t y = int64_t{windowY} * outputHeight / std::max(1, windowHeight);
  SDL_Rect box;
  letterbox(box);
  // The device pixel whose square on the window holds the point (floor, also left of the box).
  auto device = [](int64_t offset, int64_t shown, int64_t size) {
    const int64_t scaled = offset * size;
    return std::clamp<int64_t>(scaled >= 0 ? scaled / shown : -1, 0, size - 1);
  };
  return {static_cast<int>(device(x - box.x, std::max(box.w, 1), kScreenWidth)),
          static_cast<int>(device(y - box.y, std::max(box.h, 1), kScreenHeight))};
}

}  // namespace qn::platform
