// The script's image methods, called the way compiled handlers call them.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <vector>

#include "gfx/image_object.h"
#include "gfx/image_owner.h"
#include "script/color_object.h"
#include "script/list_object.h"
#include "script/point_object.h"
#include "script/rect_object.h"
#include "script/symbol_object.h"
#include "script/symbol_prop_list_object.h"
#include "tests/gfx/image_test_support.h"
#include "tests/script/listed_methods.h"

namespace qn {
namespace {

using test::TestImage;

// A member-like owner: answers intImage with its image and records what it is told.
class RecordingOwner final : public ScriptObject, public ImageOwner {
 public:
  RecordingOwner() : ScriptObject(sym::intMember) {}
  void toString(std::string& out) const override { out += "<owner>"; }
  ScriptObject* duplicate() override {
    retain();
    return this;
  }
  void getProperty(Value& result, SymbolNumber property) override {
    result = property == sym::intImage ? image : Value();
  }
  void imageChanged(const PixelRect& changed) override { reports.push_back(changed); }

  Value image;
  std::vector<PixelRect> reports;
};

struct OwnedImage {
  Value owner = Value::adopt(new RecordingOwner());
  RecordingOwner& recorder() const { return *static_cast<RecordingOwner*>(owner.object()); }
  Value object;
  TestImage pixels;

  OwnedImage(int32_t width, int32_t height, int32_t depth) : pixels(width, height, depth) {
    pixels->setOwner(owner);
    recorder().image = pixels.value();
    object = makeImageObject(owner);
  }
  ~OwnedImage() { pixels->setOwner(Value()); }
};

TEST(ImageObject, BindsEveryListedMethod) {
  using testing::none, testing::one, testing::unchecked;
  testing::expectBindsExactly("image", ImageBuffer::methods(),
                              {{sym::duplicate, unchecked}, {sym::crop, unchecked},       {sym::fill, unchecked},
                               {sym::draw, unchecked},      {sym::floodFill, unchecked},  {sym::getPixel, unchecked},
                               {sym::setPixel, unchecked},  {sym::trimWhiteSpace, none},  {sym::extractAlpha, none},
                               {sym::setAlpha, one},        {sym::copyPixels, unchecked}, {sym::createMatte, unchecked},
                               {sym::createMask, unchecked}, {sym::lock, unchecked},      {sym::unlock, one}});
}

TEST(ImageObject, FollowsItsTargetAndForwardsProperties) {
  OwnedImage image(12, 7, -16);
  EXPECT_EQ(image.object.getProperty(sym::width).toInteger(), 12);
  EXPECT_EQ(image.object.getProperty(sym::depth).toInteger(), 16);
  EXPECT_EQ(symbolOf(image.object.getProperty(sym::ilk)), sym::image);
  EXPECT_TRUE(image.object.getProperty(sym::intImage).sameObject(image.pixels.value()));
  const Value rect = image.object.getProperty(sym::rect);
  ASSERT_TRUE(rectOf(rect));
  EXPECT_EQ(rectOf(rect)->bounds(), (IntRect{0, 0, 12, 7}));
  // A new image in the owner is followed at once.
  TestImage other(3, 3, 32);
  image.recorder().image = other.value();
  EXPECT_EQ(image.object.getProperty(sym::width).toInteger(), 3);
  image.recorder().image = image.pixels.value();
  EXPECT_EQ(image.object.toString().rfind("<image:", 0), 0u);
  EXPECT_EQ(image.object.compare(makeImageObject(image.pixels.value()), false), kEqual);
}

TEST(ImageObject, GetAndSetPixel) {
  OwnedImage image(4, 2, 8);
  EXPECT_TRUE(image.object.call(sym::getPixel, 4, 0).isVoid());
  EXPECT_EQ(image.object.call(sym::setPixel, 1, 1, 0).toInteger(), 1);
  EXPECT_EQ(image.pixels.at(1, 1), 255u);  // counted from the end of the palette
  EXPECT_EQ(image.recorder().reports.back(), (PixelRect{1, 1, 2, 2}));
  EXPECT_EQ(image.object.call(sym::getPixel, makePoint(1, 1), Value::symbol(sym::integer)).toInteger(), 0);
  const Value colour = image.object.call(sym::getPixel, 1, 1);
  ASSERT_TRUE(colorOf(colour));
  EXPECT_TRUE(colorOf(colour)->isPalette());
  EXPECT_EQ(colorOf(colour)->paletteIndex(), 0);
  EXPECT_EQ(image.object.call(sym::setPixel, 9, 9, 0).toInteger(), 0);

  OwnedImage wide(2, 2, -16);
  wide.object.call(sym::setPixel, 0, 0, makeRgb(255, 0, 255));
  EXPECT_EQ(wide.pixels.at(0, 0), 0xF81Fu);
  const Value read = wide.object.call(sym::getPixel, 0, 0);
  EXPECT_EQ(colorOf(read)->rgb(), 0xFF00FFu);
  EXPECT_EQ(wide.object.call(sym::getPixel, 0, 0, Value::symbol(sym::integer)).toInteger(), 0xF81F);

  OwnedImage deep(2, 2, 24);
  deep.object.call(sym::setPixel, 0, 0, makeRgb(1, 2, 3));
  EXPECT_EQ(deep.object.call(sym::getPixel, 0, 0, Value::symbol(sym::integer)).toInteger(),
            static_cast<int32_t>(0xFF010203u));
}

TEST(ImageObject, FillAndDraw) {
  OwnedImage image(10, 10, 32);
  image.object.call(sym::fill, makeRect(1, 1, 4, 4));  // white by default
  EXPECT_EQ(image.pixels.at(2, 2), 0xFFFFFFFFu);
  EXPECT_EQ(image.pixels.at(4, 4), 0u);
  EXPECT_EQ(image.recorder().reports.back(), (PixelRect{1, 1, 4, 4}));
  image.object.call(sym::fill, makePoint(5, 5), makePoint(7, 7), makeRgb(255, 0, 0));  // two points
  EXPECT_EQ(image.pixels.at(6, 6), 0xFFFF0000u);
  image.object.call(sym::fill, 0, 8, 10, 10, makeRecord({{sym::color, makeRgb(0, 0, 255)}}));  // four numbers
  EXPECT_EQ(image.pixels.at(9, 9), 0xFF0000FFu);
  // draw: a line by default, nothing at line size 0.
  OwnedImage canvas(10, 10, 32);
  canvas.object.call(sym::draw, makeRect(0, 0, 5, 5));
  EXPECT_EQ(canvas.pixels.at(2, 2), 0xFFFFFFFFu);
  canvas.object.call(sym::draw, makeRect(0, 6, 10, 9), makeRecord({{sym::shapeType, Value::symbol(sym::rect)},
                                                                   {sym::lineSize, 0}}));
  EXPECT_EQ(canvas.pixels.at(0, 6), 0u);
}

TEST(ImageObject, FloodFillOnAMaze) {
  std::mt19937 random(99);
  OwnedImage maze(40, 30, 8);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x) maze.pixels.set(x, y, random() % 10 < 4 ? 7 : 0);
  maze.pixels.set(20, 15, 0);
  // The expected area: breadth-first over 4-neighbours of value 0.
  std::vector<bool> reached(40 * 30);
  std::deque<std::pair<int32_t, int32_t>> queue{{20, 15}};
  reached[15 * 40 + 20] = true;
  while (!queue.empty()) {
    auto [x, y] = queue.front();
    queue.pop_front();
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
      const int32_t nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= 40 || ny >= 30 || reached[ny * 40 + nx] || maze.pixels.at(nx, ny) != 0) continue;
      reached[ny * 40 + nx] = true;
      queue.push_back({nx, ny});
    }
  }
  // Integer 0 stands for raw index 255.
  EXPECT_EQ(maze.object.call(sym::floodFill, makePoint(20, 15), 0).toInteger(), 1);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x) {
      const uint32_t expected = reached[y * 40 + x] ? 255u : (maze.pixels.at(x, y) == 7 ? 7u : 0u);
      ASSERT_EQ(maze.pixels.at(x, y), expected) << x << "," << y;
    }
  EXPECT_EQ(maze.recorder().reports.back(), (PixelRect{0, 0, 40, 30}));
  EXPECT_EQ(maze.object.call(sym::floodFill, 20, 15, 0).toInteger(), 0);  // already that value
}

TEST(ImageObject, CopyPixelsWithOptionsAndQuads) {
  OwnedImage destination(8, 8, 32);
  TestImage source(4, 4, 32);
  source.fillRaw(0xFFFFFFFF);
  destination.pixels->setClipRect({0, 0, 1, 1});  // reset by copyPixels
  destination.object.call(sym::copyPixels, makeImageObject(source.value()), makeRect(0, 0, 4, 4), makeRect(0, 0, 4, 4),
                          makeRecord({{sym::blend, 50}}));
  EXPECT_EQ(destination.pixels.at(3, 3) & 0xFFFFFF, 0x7E7E7Eu);  // level 127
  EXPECT_EQ(destination.recorder().reports.back(), (PixelRect{0, 0, 4, 4}));
  destination.object.call(sym::copyPixels, source.value(),
                          makeList({makeList({Value(4.0), Value(4.0)}), makeList({Value(8), Value(4)}),
                                    makeList({Value(8), Value(8)}), makeList({Value(4), Value(8)})}),
                          makeRect(0, 0, 4, 4), makeRecord({{sym::ink, Value::symbol(sym::notCopy)}}));
  EXPECT_EQ(destination.pixels.at(5, 5), 0xFF000000u);
  EXPECT_EQ(destination.recorder().reports.back(), (PixelRect{4, 4, 8, 8}));
  // A corner that is not a number (0.0 / 0.0 in a script) draws nothing and bounds nothing.
  destination.object.call(sym::copyPixels, source.value(),
                          makeList({makeFloatPoint(std::nan(""), 0), makePoint(8, 0), makePoint(8, 8), makePoint(0, 8)}),
                          makeRect(0, 0, 4, 4));
  EXPECT_TRUE(destination.recorder().reports.back().isEmpty());
  // Into itself: read from a copy.
  destination.object.call(sym::copyPixels, destination.object, makeRect(1, 0, 9, 8), makeRect(0, 0, 8, 8));
  EXPECT_EQ(destination.pixels.at(4, 3) & 0xFFFFFF, 0x7E7E7Eu);
}

TEST(ImageObject, CroppingTrimmingAndAlpha) {
  OwnedImage image(6, 5, 32);
  image.pixels.fillRaw(0xFFFFFFFF);
  image.pixels.set(2, 1, 0x80123456);
  image.pixels.set(3, 3, 0xFF000000);
  const Value trimmed = image.object.call(sym::trimWhiteSpace);
  EXPECT_EQ(trimmed.getProperty(sym::width).toInteger(), 2);
  EXPECT_EQ(trimmed.getProperty(sym::height).toInteger(), 3);
  const Value cropped = image.object.call(sym::crop, makeRect(-5, 1, 3, 2));
  EXPECT_EQ(cropped.getProperty(sym::width).toInteger(), 3);
  const Value alpha = image.object.call(sym::extractAlpha);
  const Value alphaBuffer = alpha.getProperty(sym::intImage);
  EXPECT_EQ(imageBufferOf(alphaBuffer)->row(1)[2], 255 - 0x80);
  EXPECT_TRUE(OwnedImage(2, 2, 16).object.call(sym::extractAlpha).isVoid());
  image.object.call(sym::setAlpha, 17);
  EXPECT_EQ(image.pixels.at(2, 1), 0x11123456u);
  image.object.call(sym::setAlpha, alpha);
  EXPECT_EQ(image.pixels.at(2, 1), 0x80123456u);
  EXPECT_TRUE(image.object.call(sym::createMask).isVoid());
  EXPECT_FALSE(OwnedImage(2, 2, 1).object.call(sym::createMask).isVoid());
  EXPECT_EQ(image.object.call(sym::createMatte).getProperty(sym::depth).toInteger(), 1);
}

TEST(ImageObject, LockDefersReports) {
  OwnedImage image(3, 3, 32);
  image.object.call(sym::lock);
  image.object.call(sym::setPixel, 1, 1, makeRgb(1, 1, 1));
  EXPECT_TRUE(image.recorder().reports.empty());
  Value ignored;
  EXPECT_FALSE(image.object.object()->handle(sym::unlock, 0, ignored, nullptr, true));
  image.object.call(sym::unlock, 0);
  ASSERT_EQ(image.recorder().reports.size(), 1u);
  EXPECT_EQ(image.recorder().reports[0], (PixelRect{0, 0, 3, 3}));
}

TEST(ImageObject, BadArgumentsAreRefusedOrIgnored) {
  OwnedImage image(5, 5, 32);
  const std::vector<Value> odd = {Value(), Value("text"), Value(2.5), Value::symbol(sym::rect), makeList({}),
                                  makeRect(9, 9, -9, -9), makePoint(-3, 99), makeRgb(1, 2, 3)};
  const SymbolNumber methods[] = {sym::duplicate, sym::crop, sym::fill, sym::draw, sym::floodFill, sym::getPixel,
                                  sym::setPixel, sym::trimWhiteSpace, sym::extractAlpha, sym::setAlpha,
                                  sym::copyPixels, sym::createMatte, sym::createMask, sym::lock, sym::unlock};
  for (SymbolNumber method : methods)
    for (const Value& a : odd)
      for (const Value& b : odd) {
        Value first = a, second = b, third = a;
        Value* argv[] = {&first, &second, &third};
        for (int argc = 0; argc <= 3; ++argc) {
          Value result;
          image.object.object()->handle(method, argc, result, argv, true);
        }
      }
  image.object.call(sym::unlock, 0);
  EXPECT_EQ(image.object.getProperty(sym::width).toInteger(), 5);
  EXPECT_TRUE(image.object.call(sym::getPixel, makePoint(-1, 0)).isVoid());
}

}  // namespace
}  // namespace qn
