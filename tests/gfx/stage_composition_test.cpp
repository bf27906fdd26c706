// The movie composing and presenting its real stage image: the engine's test movie (its one-frame
// score, which settles after the first frame) on the graphics stage image service, with a screen
// that keeps the presented pixels.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/image_buffer.h"
#include "gfx/pixel_access.h"
#include "gfx/present_stage.h"
#include "gfx/stage_images.h"
#include "script/color_object.h"
#include "script/rect_object.h"
#include "script/small_block_pool.h"
#include "script/symbol_table.h"
#include "tests/engine/fake_services.h"
#include "tests/engine/test_movie.h"

namespace qn {
namespace {

using testing::EventLog;
using testing::FakeCast;
using testing::FakeDisplay;
using testing::FakeMedia;
using testing::FakeSound;
using testing::TestMovie;

// A 240 x 320 5-6-5 screen: the stage shown is presented into `pixels`.
class Screen final : public FakeDisplay {
 public:
  Screen() : pixels(240 * 320) {}
  void showStage(const StageView& view, const IntRect& windowRect) override {
    FakeDisplay::showStage(view, windowRect);
    presentStage(*imageBufferOf(view.stageImage), {reinterpret_cast<uint8_t*>(pixels.data()), 2, 2 * 240, 16, 240, 320},
                 kDisplay565, {windowRect.left, windowRect.top, windowRect.right, windowRect.bottom}, view.orientation);
  }
  std::vector<uint16_t> pixels;
};

class StageComposition : public ::testing::Test {
 protected:
  void SetUp() override {
    initValueModel();
    SymbolTable::global().clear();
    stageImages.setChangeListener([this](const IntRect& rect) { movie->addPresentRect(rect); });
    auto* made = new TestMovie(MovieServices{screen, stageImages, cast, media, sound}, cast, log, 1, 30);
    held = Value::adopt(made);
    movie = made;
    movie->defineMovie();
  }
  void TearDown() override {
    held = Value();
    cast.clear();
    shutdownValueModel();
  }
  void frame() {
    screen.clock += 34;
    movie->tick();
  }
  const ImageBuffer& stage() const { return *imageBufferOf(movie->stageImage()); }

  Screen screen;
  StageImages stageImages;
  FakeCast cast;
  FakeMedia media;
  FakeSound sound;
  EventLog log;
  TestMovie* movie = nullptr;
  Value held;
};

TEST_F(StageComposition, ComposesPresentsAndStaysQuietWithoutChanges) {
  ASSERT_NE(imageBufferOf(movie->stageImage()), nullptr);
  EXPECT_EQ(stage().depthCode(), -16);
  EXPECT_EQ(stage().width(), 240);
  movie->setProperty(sym::bgColor, makeRgb(255, 0, 0));
  frame();
  ASSERT_FALSE(screen.shownRects.empty());
  EXPECT_EQ(screen.shownRects.back(), (IntRect{0, 0, 240, 320}));
  EXPECT_EQ(load16(stage().row(100), 100), 0xF800);
  EXPECT_EQ(screen.pixels[100 * 240 + 100], 0xF800);

  // Nothing changed: nothing is drawn or presented.
  screen.shownRects.clear();
  for (int i = 0; i < 5; ++i) frame();
  EXPECT_TRUE(screen.shownRects.empty());

  // A script draws into the stage through the movie's image: only that rect is presented.
  const Value image = held.getProperty(sym::image);
  ASSERT_TRUE(image.is(sym::image));
  EXPECT_TRUE(held.getProperty(sym::intImage).sameObject(movie->stageImage()));
  image.call(sym::fill, makeRect(10, 20, 30, 40), makeRgb(0, 0, 255));
  frame();
  ASSERT_EQ(screen.shownRects.size(), 1u);
  EXPECT_EQ(screen.shownRects[0], (IntRect{10, 20, 30, 40}));
  EXPECT_EQ(screen.pixels[25 * 240 + 15], 0x001F);
}

// The composition clips the stage image to the frame's dirty rect; scripts draw into it between
// frames wherever they like.
TEST_F(StageComposition, ScriptDrawingIsNotCutToTheLastDirtyRect) {
  frame();
  SpriteChannel* box = movie->spriteIn(5);
  box->setProperty(sym::puppet, Value(1));
  box->setProperty(sym::locH, Value(70));
  frame();  // composes where the box was and is
  held.getProperty(sym::image).call(sym::fill, makeRect(150, 250, 170, 270), makeRgb(0, 0, 255));
  EXPECT_EQ(load16(stage().row(260), 160), 0x001F);
}

TEST_F(StageComposition, ComposesTheScreenImageAtThePresentationScale) {
  movie->setPresentationScale(2);
  movie->setProperty(sym::bgColor, makeRgb(255, 0, 0));
  frame();
  const ImageBuffer* screenImage = imageBufferOf(movie->screenImage());
  ASSERT_NE(screenImage, nullptr);
  EXPECT_EQ(screenImage->width(), 480);
  EXPECT_EQ(screen.shownScales.back(), 2);
  EXPECT_EQ(load16(screenImage->row(639), 479), 0xF800);

  // Script drawing into the stage reaches the screen image enlarged; only its rect is shown.
  screen.shownRects.clear();
  held.getProperty(sym::image).call(sym::fill, makeRect(10, 20, 30, 40), makeRgb(0, 0, 255));
  frame();
  ASSERT_EQ(screen.shownRects.size(), 1u);
  EXPECT_EQ(screen.shownRects[0], (IntRect{10, 20, 30, 40}));
  EXPECT_EQ(load16(screenImage->row(40), 20), 0x001F);
  EXPECT_EQ(load16(screenImage->row(79), 59), 0x001F);
  EXPECT_EQ(load16(screenImage->row(80), 60), 0xF800);

  // Back at scale 1 the whole stage is shown again, from the stage image alone.
  movie->setPresentationScale(1);
  frame();
  EXPECT_TRUE(movie->screenImage().isVoid());
  EXPECT_EQ(screen.shownRects.back(), (IntRect{0, 0, 240, 320}));
  EXPECT_EQ(screen.shownScales.back(), 1);
}

TEST_F(StageComposition, RotationPresentsTheWholeStageTurned) {
  frame();
  screen.shownRects.clear();
  const Value image = held.getProperty(sym::image);
  image.call(sym::setPixel, 0, 0, makeRgb(255, 255, 255));
  movie->setProperty(sym::rotation, 90);
  frame();
  ASSERT_FALSE(screen.shownRects.empty());
  // Stage pixel (0, 0) shows at window (0, screen height - 1) when turned by 90 degrees.
  EXPECT_EQ(screen.pixels[319 * 240 + 0], 0xFFFF);
}

}  // namespace
}  // namespace qn
