#include <emscripten.h>

#include <cstring>

#include "platform/focus_ring.h"
#include "platform/screen_canvas.h"

namespace qn::platform {

namespace {

constexpr int kRgbaPitch = kScreenWidth * 4;

// Puts the rect of the RGBA screen (240 x 320 pixels at `rgba` in the program's memory) onto the
// canvas: the image reads the program's memory in place, no copy made on the way.
EM_JS(void, putOnCanvas, (const uint8_t* rgba, int left, int top, int width, int height), {
  if (!Module.screenContext) Module.screenContext = Module.canvas.getContext('2d');
  if (Module.screenImageBuffer !== HEAPU8.buffer || Module.screenImageAt !== rgba) {  // memory grew
    Module.screenImage = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, 240 * 320 * 4), 240, 320);
    Module.screenImageBuffer = HEAPU8.buffer;
    Module.screenImageAt = rgba;
  }
  Module.screenContext.putImageData(Module.screenImage, 0, 0, left, top, width, height);
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

ScreenCanvas::ScreenCanvas(int bytesPerPixel)
    : bytesPerPixel_(bytesPerPixel), rgba_(static_cast<size_t>(kRgbaPitch) * kScreenHeight, 0) {}

void ScreenCanvas::present(const uint8_t* screenPixels, int pitch, const ScreenRect& changed) {
  if (changed.width() <= 0 || changed.height() <= 0) return;
  const auto convert = bytesPerPixel_ == 4 ? rgbaOf8888 : rgbaOf565;
  for (int y = changed.top; y < changed.bottom; ++y) {
    const uint8_t* from = screenPixels + y * pitch + changed.left * bytesPerPixel_;
    uint8_t* to = rgba_.data() + y * kRgbaPitch + changed.left * 4;
    for (int x = changed.left; x < changed.right; ++x, from += bytesPerPixel_, to += 4) convert(from, to);
  }
  if (ring_) setFocusRing(ring_);  // the ring stays over whatever changed
  else put(rgba_, changed);
}

void ScreenCanvas::setFocusRing(const std::optional<ScreenRect>& ring) {
  ring_ = ring;
  if (!ring_) {
    put(rgba_, {0, 0, kScreenWidth, kScreenHeight});
    return;
  }
  std::vector<uint8_t> shown = rgba_;
  for (const RingOutline& outline : focusRingOutlines(*ring_, 0, 0, 1)) {
    const uint8_t colour[4] = {static_cast<uint8_t>(outline.dark ? 0 : 255), static_cast<uint8_t>(outline.dark ? 0 : 221), 0, 255};
    auto paint = [&](int x, int y) { std::memcpy(shown.data() + y * kRgbaPitch + x * 4, colour, 4); };
    for (int x = outline.x; x < outline.x + outline.width; ++x) {
      paint(x, outline.y);
      paint(x, outline.y + outline.height - 1);
    }
    for (int y = outline.y; y < outline.y + outline.height; ++y) {
      paint(outline.x, y);
      paint(outline.x + outline.width - 1, y);
    }
  }
  put(shown, {0, 0, kScreenWidth, kScreenHeight});
}

void ScreenCanvas::put(const std::vector<uint8_t>& rgba, const ScreenRect& rect) {
  putOnCanvas(rgba.data(), rect.left, rect.top, rect.width(), rect.height());
}

}  // namespace qn::platform
