#include "shell/main_window.h"

#include <algorithm>

#include "platform/platform.h"
#include "shell/window_icon.h"

namespace qn {

namespace {

void complain(const char* what) {
  platform::debugOutput(std::string(what) + ": " + SDL_GetError() + "\n");
}

}  // namespace

MainWindow::~MainWindow() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

void MainWindow::showIcon() {
  // SDL only reads the pixels: the surface borrows the constant bytes.
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(kWindowIconRgba), kWindowIconSize,
                                                         kWindowIconSize, 32, kWindowIconSize * 4,
                                                         SDL_PIXELFORMAT_RGBA32);
  if (icon == nullptr) {
    complain("cannot make the window icon");
    return;
  }
  SDL_SetWindowIcon(window_, icon);
  SDL_FreeSurface(icon);
}

int MainWindow::fittingScale() {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
  return std::max(1, std::min(usable.w / kScreenWidth, usable.h / kScreenHeight));
}

bool MainWindow::create(const std::string& title, int scale, bool fullscreen, DisplayFormat format) {
  if (scale <= 0) scale = fittingScale();
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth * scale,
                             kScreenHeight * scale, flags);
  if (window_ == nullptr) {
    complain("cannot create the window");
    return false;
  }
  SDL_SetWindowMinimumSize(window_, kScreenWidth, kScreenHeight);
  showIcon();
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) {
    complain("cannot create the renderer");
    return false;
  }
  Uint32 textureFormat = format == DisplayFormat::argb8888 ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB565;
  texture_ = SDL_CreateTexture(renderer_, textureFormat, SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight);
  if (texture_ == nullptr) {
    complain("cannot create the screen texture");
    return false;
  }
  return true;
}

void MainWindow::show() { SDL_ShowWindow(window_); }

void MainWindow::raise() {
  SDL_RestoreWindow(window_);
  SDL_RaiseWindow(window_);
}

void MainWindow::toggleFullscreen() {
  bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  repaint();
}

void MainWindow::setScale(int scale) {
  SDL_SetWindowFullscreen(window_, 0);
  SDL_RestoreWindow(window_);
  SDL_SetWindowSize(window_, kScreenWidth * scale, kScreenHeight * scale);
  repaint();
}

SDL_Rect MainWindow::letterbox() const {
  int width = 0, height = 0;
  SDL_GetRendererOutputSize(renderer_, &width, &height);
  int scale = std::max(1, std::min(width / kScreenWidth, height / kScreenHeight));
  SDL_Rect box{0, 0, kScreenWidth * scale, kScreenHeight * scale};
  box.x = (width - box.w) / 2;
  box.y = (height - box.h) / 2;
  return box;
}

void MainWindow::present(const ScreenBuffer& screen, const IntRect& changed) {
  if (!isEmptyRect(changed)) {
    SDL_Rect rect{changed.left, changed.top, changed.width(), changed.height()};
    const uint8_t* first = screen.pixels() + changed.top * screen.pitch() + changed.left * bytesPerPixel(screen.format());
    SDL_UpdateTexture(texture_, &rect, first, screen.pitch());
  }
  repaint();
}

void MainWindow::repaint() {
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_Rect box = letterbox();
  SDL_RenderCopy(renderer_, texture_, nullptr, &box);
  if (focusRing_) drawFocusRing(box);
  SDL_RenderPresent(renderer_);
}

void MainWindow::setFocusRing(std::optional<IntRect> screenRect) {
  if (screenRect == focusRing_) return;
  focusRing_ = screenRect;
  repaint();
}

// A yellow band between two dark lines, one screen pixel outside the rect, so that it shows on
// light and dark pictures alike; a rect that fills the screen gets it just inside the edge.
void MainWindow::drawFocusRing(const SDL_Rect& box) {
  const int scale = box.w / kScreenWidth;
  const int band = 2 * scale;
  const IntRect& ring = *focusRing_;
  const SDL_Rect around{box.x + (ring.left - 1) * scale - band - 1, box.y + (ring.top - 1) * scale - band - 1,
                        (ring.width() + 2) * scale + 2 * band + 2, (ring.height() + 2) * scale + 2 * band + 2};
  SDL_Rect edge;
  if (!SDL_IntersectRect(&around, &box, &edge)) return;
  for (int line = 0; line < band + 2; ++line) {
    const bool dark = line == 0 || line == band + 1;
    SDL_SetRenderDrawColor(renderer_, dark ? 0 : 255, dark ? 0 : 221, 0, 255);
    SDL_RenderDrawRect(renderer_, &edge);
    edge = {edge.x + 1, edge.y + 1, edge.w - 2, edge.h - 2};
  }
}

ScreenPoint MainWindow::screenPointAt(int windowX, int windowY) const {
  // Mouse coordinates are in window points; the renderer may have more pixels (high density).
  int windowWidth = 1, windowHeight = 1, outputWidth = 1, outputHeight = 1;
  SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
  SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
  int64_t x = int64_t{windowX} * outputWidth / std::max(1, windowWidth);
  int64_t y = int64_t{windowY} * outputHeight / std::max(1, windowHeight);
  SDL_Rect box = letterbox();
  int64_t scale = box.w / kScreenWidth;
  return {static_cast<int>(std::clamp<int64_t>((x - box.x) / scale, 0, kScreenWidth - 1)),
          static_cast<int>(std::clamp<int64_t>((y - box.y) / scale, 0, kScreenHeight - 1))};
}

}  // namespace qn
