#include "test_movie.h"

#include <algorithm>

#include "engine/script_instance.h"
#include "script/list_object.h"

namespace qn::test {

namespace {

class TestImage final : public ScriptObject {
 public:
  TestImage(int32_t imageWidth, int32_t imageHeight)
      : ScriptObject(sym::intImage), width(imageWidth), height(imageHeight),
        pixels(static_cast<size_t>(imageWidth) * static_cast<size_t>(imageHeight)) {}
  void toString(std::string& out) const override { out += "<test image>"; }
  ScriptObject* duplicate() override { return nullptr; }

  int32_t width, height;
  std::vector<uint32_t> pixels;  // 0xRRGGBB
};

TestImage& imageOf(const Value& value) { return *static_cast<TestImage*>(value.object()); }

// Paints under the stylus while it is down, in red plus the last key code in the blue byte.
class StylusPainter final : public ScriptInstance {
 public:
  explicit StylusPainter(TestMovie& movie, StageImageService& images)
      : ScriptInstance(EventMask{}), movie_(movie), images_(images) {}
  bool handle(SymbolNumber method, int, Value& result, Value* const*, bool) override {
    if (method != sym::stepFrame) return false;
    ++movie_.framesStepped;
    const DisplayHost& display = movie_.services().display;
    if (movie_.mouseIsDown()) {
      IntRect square{display.mouseH, display.mouseV, display.mouseH + 6, display.mouseV + 6};
      images_.fill(movie_.stageImage(), square, 0xFF0000u | display.lastKeyCode);
      movie_.addPresentRect(square);
    }
    result = Value();
    return true;
  }

 private:
  TestMovie& movie_;
  StageImageService& images_;
};

uint32_t framePixel(uint32_t rgb, int32_t bits) {
  if (bits == 32) return 0xFF000000u | rgb;
  return ((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) | ((rgb >> 3) & 0x001F);
}

}  // namespace

Value TestStageImages::createStageImage(int32_t width, int32_t height, int32_t) {
  return Value::adopt(new TestImage(width, height));
}

void TestStageImages::fill(const Value& stageImage, const IntRect& area, uint32_t rgb) {
  TestImage& image = imageOf(stageImage);
  IntRect cut = clippedRect(area, {0, 0, image.width, image.height});
  for (int32_t y = cut.top; y < cut.bottom; ++y)
    std::fill_n(image.pixels.begin() + y * image.width + cut.left, cut.width(), rgb);
}

// The screen point (x, y) shows the stage point the movie's orientation maps it from.
void TestStageImages::present(const Value& stageImage, const IntRect& windowRect, int32_t orientation) {
  const TestImage& image = imageOf(stageImage);
  FrameBuffer buffer;
  if (!display_.beginDraw(buffer)) return;
  IntRect cut = clippedRect(windowRect, {0, 0, buffer.width, buffer.height});
  for (int32_t y = cut.top; y < cut.bottom; ++y) {
    for (int32_t x = cut.left; x < cut.right; ++x) {
      int32_t sx = x, sy = y;
      if (orientation == 90) sx = buffer.height - 1 - y, sy = x;
      if (orientation == -90) sx = y, sy = buffer.width - 1 - x;
      if (sx < 0 || sy < 0 || sx >= image.width || sy >= image.height) continue;
      uint32_t pixel = framePixel(image.pixels[static_cast<size_t>(sy * image.width + sx)], buffer.bitsPerPixel);
      uint8_t* target = buffer.pixels + x * buffer.xPitch + y * buffer.yPitch;
      std::copy_n(reinterpret_cast<const uint8_t*>(&pixel), buffer.bitsPerPixel / 8, target);
    }
  }
  display_.endDraw();
}

struct TestMovie::Services {
  Services(DisplayHost& display, SoundMixer& mixer) : images(display), sound(mixer) {}
  TestStageImages images;
  testing::FakeCast cast;
  testing::FakeMedia media;
  MixerSound sound;
};

Value TestMovie::make(DisplayHost& display, SoundMixer& mixer, const TestMovieSettings& settings) {
  return Value::adopt(new TestMovie(display, std::make_unique<Services>(display, mixer), settings));
}

TestMovie::TestMovie(DisplayHost& display, std::unique_ptr<Services> services, const TestMovieSettings& settings)
    : Movie(MovieServices{display, services->images, services->cast, services->media,
                          services->sound}),
      own_(std::move(services)),
      settings_(settings) {}

TestMovie::~TestMovie() = default;

bool TestMovie::defineMovie() {
  stageWidth_ = settings_.orientation == 0 ? 240 : 320;
  stageHeight_ = settings_.orientation == 0 ? 320 : 240;
  tempo_ = 30;
  lastFrame_ = 1;
  stageColor_ = settings_.stageColor;
  exitLock_ = settings_.exitLock;
  orientation_ = settings_.orientation;
  colorDepth_ = settings_.colorDepth;
  Movie::defineMovie();
  setProperty(sym::actorList, makeList({Value::adopt(new StylusPainter(*this, own_->images))}));
  return true;
}

bool TestMovie::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) {
  if (method == sym::activateApplication) ++activations;
  if (method == sym::deactiveApplication) ++deactivations;
  return Movie::handle(method, argc, result, argv, flag);
}

}  // namespace qn::test
