#include <gtest/gtest.h>

#include "cast/bitmap_member.h"
#include "cast/bitmap_sprite.h"
#include "cast/field_member.h"
#include "cast/field_sprite.h"
#include "cast/sound_member.h"
#include "cast/sound_sprite.h"
#include "gfx/ink.h"
#include "tests/cast/cast_fixture.h"
#include "tools/qmftool/bmp_writer.h"

namespace qn {
namespace {

using testing::bitmapRow;
using testing::CastWorld;
using testing::MediaBuilder;
using testing::pixelAt;
using testing::TestRows;

class RendererTest : public testing::CastTest {};

SpanRef spanFor(int32_t channel) { return std::make_shared<const SpriteSpan>(SpriteSpan{1, 1, 1, channel, {}}); }

// A bitmap sprite showing `member`, not filed in the score: the tests drive its slots directly.
template <class Renderer>
Value spriteShowing(Movie& movie, int32_t channel, CastMember* member) {
  Value sprite = Value::adopt(new Renderer(movie, spanFor(channel)));
  auto* renderer = static_cast<Renderer*>(sprite.object());
  renderer->member = member;
  return sprite;
}

// Media with a 2 x 1 bitmap (red, blue), a 120 x 80 one with regPoint (60, 40), and a 3 x 3 one
// with a white border around a black centre.
struct RendererCast {
  TestRows rows;
  std::vector<uint8_t> media;
  RendererCast() {
    MediaBuilder builder;
    const uint8_t pair[] = {255, 0, 0, 255, 0, 0, 255, 255};
    rows.bitmaps.push_back(bitmapRow(3, 2, 1, builder.compressed(qmftool::writeBmp32(pair, 2, 1))));
    std::vector<uint8_t> large(120 * 80 * 4, 200);
    rows.bitmaps.push_back(bitmapRow(4, 120, 80, builder.compressed(qmftool::writeBmp32(large.data(), 120, 80)), 60, 40));
    std::vector<uint8_t> framed(3 * 3 * 4, 255);
    for (int i = 0; i < 3; ++i) framed[(1 * 3 + 1) * 4 + i] = 0;
    rows.bitmaps.push_back(bitmapRow(5, 3, 3, builder.compressed(qmftool::writeBmp32(framed.data(), 3, 3))));
    media = builder.finish();
  }
};

TEST_F(RendererTest, FlipHWithoutRotationMirrorsInsideTheSameRect) {
  RendererCast data;
  CastWorld world(data.media, data.rows.rows());
  CastMember* member = world.cast().find(3);
  ASSERT_TRUE(member->load());
  Value sprite = spriteShowing<BitmapSprite>(world.movie(), 7, member);
  auto& bitmap = *static_cast<BitmapSprite*>(sprite.object());
  bitmap.locH = 10;
  bitmap.locV = 20;
  bitmap.computeGeometry();
  EXPECT_FALSE(bitmap.quadMode);
  EXPECT_EQ(bitmap.spriteRect, (IntRect{10, 20, 12, 21}));

  bitmap.flipH = true;
  bitmap.computeGeometry();
  EXPECT_TRUE(bitmap.quadMode);
  EXPECT_EQ(bitmap.spriteRect, (IntRect{10, 20, 12, 21}));
  Value stage = Value::adopt(ImageBuffer::create(40, 40, 32));
  bitmap.draw(*stage.object(), 1);
  EXPECT_EQ(pixelAt(*imageBufferOf(stage), 10, 20) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(pixelAt(*imageBufferOf(stage), 11, 20) & 0xFFFFFF, 0xFF0000u);
  // On the stage composed twice as large the member's picture (enlarged smoothly: it has none of
  // its own) fills twice the rect, mirrored.
  Value screen = Value::adopt(ImageBuffer::create(80, 80, 32));
  bitmap.draw(*screen.object(), 2);
  for (int32_t y = 40; y < 42; ++y) {
    EXPECT_EQ(pixelAt(*imageBufferOf(screen), 20, y) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(pixelAt(*imageBufferOf(screen), 23, y) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixelAt(*imageBufferOf(screen), 24, y) & 0xFFFFFF, 0u);
  }
  EXPECT_EQ(static_cast<CastMemberBase*>(member)->lastUsed(), world.display().clock);  // drawing touches
}

TEST_F(RendererTest, StretchScalesTheRegPoint) {
  RendererCast data;
  CastWorld world(data.media, data.rows.rows());
  CastMember* member = world.cast().find(4);
  Value sprite = spriteShowing<BitmapSprite>(world.movie(), 8, member);
  auto& bitmap = *static_cast<BitmapSprite*>(sprite.object());
  bitmap.locH = 100;
  bitmap.locV = 100;
  bitmap.stretch = true;
  bitmap.width = 60;
  bitmap.height = 40;
  bitmap.computeGeometry();
  // The regPoint (60, 40) of the 120 x 80 member lands at (30, 20) of the drawn image.
  EXPECT_EQ(bitmap.spriteRect, (IntRect{70, 80, 130, 120}));
  EXPECT_EQ(bitmap.naturalWidth, 60);

  bitmap.stretch = false;
  bitmap.rotation = 90.0f;
  bitmap.computeGeometry();
  EXPECT_TRUE(bitmap.quadMode);
  EXPECT_EQ(bitmap.spriteRect, (IntRect{60, 40, 140, 160}));

  // At the end of the integers the corners saturate rather than wrap to the other end.
  bitmap.rotation = 0.0f;
  bitmap.locH = INT32_MAX;
  bitmap.computeGeometry();
  EXPECT_EQ(bitmap.spriteRect.left, INT32_MAX) << "2^31 - 61 rounds to 2^31 in 32-bit floats";
  EXPECT_EQ(bitmap.spriteRect.right, INT32_MAX);
}

TEST_F(RendererTest, MatteHitTestAsksTheMatte) {
  RendererCast data;
  CastWorld world(data.media, data.rows.rows());
  CastMember* member = world.cast().find(5);
  ASSERT_TRUE(member->load());
  Value sprite = spriteShowing<BitmapSprite>(world.movie(), 9, member);
  auto& bitmap = *static_cast<BitmapSprite*>(sprite.object());
  bitmap.computeGeometry();
  EXPECT_EQ(bitmap.spriteRect, (IntRect{0, 0, 3, 3}));
  EXPECT_TRUE(bitmap.hitTest(0, 0));  // copy ink: the rect decides
  bitmap.ink = qn::ink::matte;
  EXPECT_FALSE(bitmap.hitTest(0, 0));
  EXPECT_TRUE(bitmap.hitTest(1, 1));
  bitmap.flipV = true;  // through the quad
  bitmap.computeGeometry();
  EXPECT_FALSE(bitmap.hitTest(2, 0));
  EXPECT_TRUE(bitmap.hitTest(1, 1));

  // Against a sprite with the matte ink, intersecting asks the mattes: B at (1, 1) covers only
  // (2, 2) of the overlap, where A's own matte is white border.
  bitmap.flipV = false;
  bitmap.ink = qn::ink::copy;
  bitmap.computeGeometry();
  Value otherValue = spriteShowing<BitmapSprite>(world.movie(), 10, member);
  auto& other = *static_cast<BitmapSprite*>(otherValue.object());
  other.locH = other.locV = 1;
  other.ink = qn::ink::matte;
  other.computeGeometry();
  EXPECT_TRUE(bitmap.intersects(other));
  bitmap.ink = qn::ink::matte;
  EXPECT_FALSE(bitmap.intersects(other));
  other.locH = other.locV = 2;
  other.ink = qn::ink::copy;
  other.computeGeometry();
  EXPECT_TRUE(bitmap.intersects(other));  // the rects decide when the other one is no matte
}

TEST_F(RendererTest, FieldAndSoundSprites) {
  MediaBuilder builder;
  TestRows rows;
  FieldRow field = testing::fieldRow({0, 0, 0});
  field.width = 30;
  field.height = 12;
  rows.fields.push_back(field);
  SoundRow sound{66, 1, 0, "vault", "", 0, 0, 0};
  rows.sounds.push_back(sound);
  CastWorld world(builder.finish(), rows.rows());

  Value text = spriteShowing<FieldSprite>(world.movie(), 10, world.cast().find(51));
  auto& fieldSprite = *static_cast<FieldSprite*>(text.object());
  fieldSprite.locH = 187;
  fieldSprite.locV = 20;
  fieldSprite.computeGeometry();
  EXPECT_EQ(fieldSprite.spriteRect, (IntRect{187, 20, 217, 32}));
  Value noMember = spriteShowing<FieldSprite>(world.movie(), 11, nullptr);
  static_cast<FieldSprite*>(noMember.object())->computeGeometry();
  EXPECT_TRUE(isEmptyRect(static_cast<FieldSprite*>(noMember.object())->spriteRect));

  // Sound sprites live past the score's channels: channel 501 plays on sound channel 1.
  Value noise = spriteShowing<SoundSprite>(world.movie(), 501, world.cast().find(66));
  auto& soundSprite = *static_cast<SoundSprite*>(noise.object());
  EXPECT_FALSE(soundSprite.hitTest(0, 0));
  soundSprite.releaseScripts();
  ASSERT_FALSE(world.sound().stopped.empty());
  EXPECT_EQ(world.sound().stopped.back(), 1);
}

}  // namespace
}  // namespace qn
