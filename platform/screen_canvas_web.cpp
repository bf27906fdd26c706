#include <emscripten.h>

#include <cstring>

#include "platform/focus_ring.h"
#include "platform/main_window.h"
#include "platform/screen_canvas.h"

namespace qn::platform {

namespace {

// Puts the rect of the RGBA screen (width x height pixels at `rgba` in the program's memory) onto
// the canvas, which takes the screen's size: the image reads the program's memory in place, no
// copy made on the way.
EM_JS(void, putOnCanvas, (const uint8_t* rgba, int width, int height, int left, int top, int right, int bottom), {
  if (!Module.screenContext) Module.screenContext = Module.canvas.getContext('2d');
  if (Module.canvas.width !== width || Module.canvas.height !== height) {
    Module.canvas.width = width;
    Module.canvas.height = height;
  }
  if (Module.screenImageBuffer !== HEAPU8.buffer || Module.screenImageAt !== rgba ||
      Module.screenImage.width !== width || Module.screenImage.height !== height) {  // memory grew, or a new size
    Module.screenImage = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width, height);
    Module.screenImageBuffer = HEAPU8.buffer;
    Module.screenImageAt = rgba;
  }
  Module.screenContext.putImageData(Module.screenImage, 0, 0, left, top, right - left, bottom - top);
});

// 5-6-5 to 8 bits a channel by repeating the top bits, as the program's screenshots do.
void rgbaOf565(const uint8_t* pixel, uint8_t* out) {
  uint16_t p;
  std::memcpy(&p, pixel, 2);
  const uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
  out[0] = static_cast<uint8_t>(r << 3 | r >> 2);
  out[1] = static_cast<uint8_t>(g << 2 | g >> 4);
  out[2] = static_cast<uint8_t>(b << 3 | b >> 2);
  out[3] = 255;
}

// 0xAARRGGBB stored as the bytes B, G, R, A.
void rgbaOf8888(const uint8_t* pixel, uint8_t* out) {
  out[0] = pixel[2];
  out[1] = pixel[1];
  out[2] = pixel[0];
  out[3] = 255;
}

}  // namespace

ScreenCanvas::ScreenCanvas(int bytesPerPixel) : bytesPerPixel_(bytesPerPixel) {}

void ScreenCanvas::present(const ScreenPixels& screen, const ScreenRect& changed) {
  ScreenRect converted = changed;
  if (screen.width != width_ || screen.height != height_) {  // a new size: all of it
    width_ = screen.width;
    height_ = screen.height;
    rgba_.assign(static_cast<size_t>(width_) * height_ * 4, 0);
    converted = {0, 0, width_, height_};
  }
  if (converted.width() <= 0 || converted.height() <= 0) return;
  const auto convert = bytesPerPixel_ == 4 ? rgbaOf8888 : rgbaOf565;
  const int rgbaPitch = width_ * 4;
  for (int y = converted.top; y < converted.bottom; ++y) {
    const uint8_t* from = screen.pixels + y * screen.pitch + converted.left * bytesPerPixel_;
    uint8_t* to = rgba_.data() + y * rgbaPitch + converted.left * 4;
    for (int x = converted.left; x < converted.right; ++x, from += bytesPerPixel_, to += 4) convert(from, to);
  }
  if (ring_) setFocusRing(ring_);  // the ring stays over whatever changed
  else put(rgba_, converted);
}

void ScreenCanvas::setFocusRing(const std::optional<ScreenRect>& ring) {
  ring_ = ring;
  if (rgba_.empty()) return;
  if (!ring_) {
    put(rgba_, {0, 0, width_, height_});
    return;
  }
  std::vector<uint8_t> shown = rgba_;
  const int rgbaPitch = width_ * 4;
  for (const RingOutline& outline : focusRingOutlines(*ring_, {0, 0, width_, height_})) {
    const uint8_t colour[4] = {static_cast<uint8_t>(outline.dark ? 0 : 255), static_cast<uint8_t>(outline.dark ? 0 : 221), 0, 255};
    auto paint = [&](int x, int y) { std::memcpy(shown.data() + y * rgbaPitch + x * 4, colour, 4); };
    for (int x = outline.x; x < outline.x + outline.width; ++x) {
      paint(x, outline.y);
      paint(x, outline.y + outline.height - 1);
    }
    for (int y = outline.y; y < outline.y + outline.height; ++y) {
      paint(outline.x, y);
      paint(outline.x + outline.width - 1, y);
    }
  }
  put(shown, {0, 0, width_, height_});
}

void ScreenCanvas::put(const std::vector<uint8_t>& rgba, const ScreenRect& rect) {
  putOnCanvas(rgba.data(), width_, height_, rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace qn::platform
