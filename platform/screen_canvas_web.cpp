#include <emscripten.h>

#include <cstring>
#include <utility>

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

// A screen pixel as the canvas's RGBA word (the bytes R, G, B, A in little-endian memory).
// 5-6-5 widens to 8 bits a channel by repeating the top bits, as the program's screenshots do.
uint32_t rgbaOf565(uint16_t p) {
  const uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
  return 0xFF000000u | (b << 3 | b >> 2) << 16 | (g << 2 | g >> 4) << 8 | (r << 3 | r >> 2);
}

// 0xAARRGGBB: red and blue change places.
uint32_t rgbaOf8888(uint32_t p) { return 0xFF000000u | (p & 0xFF) << 16 | (p & 0xFF00) | ((p >> 16) & 0xFF); }

// A run of one row, in a loop with nothing to call per pixel, which vectorizes.
template <typename Pixel, uint32_t (*rgbaOf)(Pixel)>
void convertRun(const uint8_t* from, uint8_t* to, int count) {
  for (int i = 0; i < count; ++i) {
    Pixel pixel;
    std::memcpy(&pixel, from + i * sizeof(Pixel), sizeof(Pixel));
    const uint32_t word = rgbaOf(pixel);
    std::memcpy(to + i * 4, &word, 4);
  }
}

}  // namespace

ScreenCanvas::ScreenCanvas(int bytesPerPixel) : bytesPerPixel_(bytesPerPixel) {}

void ScreenCanvas::present(const ScreenPixels& screen, const ScreenRect& changed) {
  ScreenRect converted = changed;
  if (screen.width != width_ || screen.height != height_) {  // a new size: all of it
    width_ = screen.width;
    height_ = screen.height;
    rgba_.assign(static_cast<size_t>(width_) * height_ * 4, 0);
    underRing_.clear();  // what it kept lay in the old pixels
    converted = {0, 0, width_, height_};
  }
  if (converted.width() <= 0 || converted.height() <= 0) return;
  liftRing();
  const auto convert = bytesPerPixel_ == 4 ? convertRun<uint32_t, rgbaOf8888> : convertRun<uint16_t, rgbaOf565>;
  const int rgbaPitch = width_ * 4;
  for (int y = converted.top; y < converted.bottom; ++y)
    convert(screen.pixels + y * screen.pitch + converted.left * bytesPerPixel_,
            rgba_.data() + y * rgbaPitch + converted.left * 4, converted.width());
  paintRing();  // where it stood: outside the changed rect the canvas shows it already
  put(converted);
}

void ScreenCanvas::setFocusRing(const std::optional<ScreenRect>& ring) {
  ring_ = ring;
  if (rgba_.empty()) return;
  put(liftRing());
  put(paintRing());
}

ScreenRect ScreenCanvas::liftRing() {
  for (auto kept = underRing_.rbegin(); kept != underRing_.rend(); ++kept)  // corners were kept twice
    std::memcpy(rgba_.data() + kept->first * 4, &kept->second, 4);
  underRing_.clear();
  return std::exchange(ringBounds_, ScreenRect{});
}

ScreenRect ScreenCanvas::paintRing() {
  if (!ring_) return ringBounds_;
  const std::vector<RingOutline> outlines = focusRingOutlines(*ring_, {0, 0, width_, height_});
  if (outlines.empty()) return ringBounds_;
  auto paint = [this](int x, int y, uint32_t colour) {
    const size_t pixel = static_cast<size_t>(y) * width_ + x;
    uint32_t under;
    std::memcpy(&under, rgba_.data() + pixel * 4, 4);
    underRing_.emplace_back(pixel, under);
    std::memcpy(rgba_.data() + pixel * 4, &colour, 4);
  };
  for (const RingOutline& outline : outlines) {
    const uint32_t colour = outline.dark ? 0xFF000000u : 0xFF00DDFFu;  // black, or yellow (R 255, G 221)
    for (int x = outline.x; x < outline.x + outline.width; ++x) {
      paint(x, outline.y, colour);
      paint(x, outline.y + outline.height - 1, colour);
    }
    for (int y = outline.y; y < outline.y + outline.height; ++y) {
      paint(outline.x, y, colour);
      paint(outline.x + outline.width - 1, y, colour);
    }
  }
  const RingOutline& outermost = outlines.front();
  ringBounds_ = {outermost.x, outermost.y, outermost.x + outermost.width, outermost.y + outermost.height};
  return ringBounds_;
}

void ScreenCanvas::put(const ScreenRect& rect) {
  if (rect.width() <= 0 || rect.height() <= 0) return;
  putOnCanvas(rgba_.data(), width_, height_, rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace qn::platform
