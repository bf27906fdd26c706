#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include <filesystem>

#include "cast/bitmap_member.h"
#include "cast/scaled_media_set.h"
#include "cast/scaled_set_arrival.h"
#include "gfx/matte_mask.h"
#include "gfx/shape_drawing.h"
#include "platform/mapped_file.h"
#include "script/report_error.h"
#include "tests/cast/cast_fixture.h"
#include "tests/cast/scarce_memory.h"
#include "tools/qmftool/bmp_writer.h"
#include "tools/qmftool/packer.h"
#include "tools/qmftool/scaled_set_packer.h"

namespace qn {
namespace {

using testing::bitmapRow;
using testing::CastWorld;
using testing::MediaBuilder;
using testing::pixelAt;
using testing::TestRows;

class ScaledPictureTest : public testing::CastTest {};

BitmapMember& bitmapOf(CastWorld& world, int32_t number) {
  return *dynamic_cast<BitmapMember*>(world.cast().find(memberKey(number, 1)));
}

// Member 3: black and red, side by side. Member 5: a dark centre in a white frame, as the pictures
// drawn with matte ink are. Member 8: transparent red beside opaque blue, with useAlpha.
struct SmallCast {
  TestRows rows;
  std::vector<uint8_t> media;
  SmallCast() {
    MediaBuilder builder;
    const uint8_t pair[] = {0, 0, 0, 255, 255, 0, 0, 255};
    rows.bitmaps.push_back(bitmapRow(3, 2, 1, builder.compressed(qmftool::writeBmp32(pair, 2, 1))));
    std::vector<uint8_t> framed(3 * 3 * 4, 255);
    for (int i = 0; i < 3; ++i) framed[(1 * 3 + 1) * 4 + i] = 40;
    rows.bitmaps.push_back(bitmapRow(5, 3, 3, builder.compressed(qmftool::writeBmp32(framed.data(), 3, 3))));
    const uint8_t fading[] = {255, 0, 0, 255, 0, 0, 255, 255};
    const uint8_t mask[] = {255, 0};
    BitmapRow faded = bitmapRow(8, 2, 1, builder.compressed(qmftool::writeBmp32(fading, 2, 1)));
    MediaBuilder::Blob alpha = builder.compressed(qmftool::writeBmp8(mask, 2, 1));
    faded.alphaPackedSize = alpha.packed;
    faded.alphaUnpackedSize = alpha.unpacked;
    faded.useAlpha = 1;
    rows.bitmaps.push_back(faded);
    media = builder.finish();
  }
};

TEST_F(ScaledPictureTest, WithoutASetPicturesAreTheImageEnlargedSmoothly) {
  SmallCast data;
  CastWorld world(data.media, data.rows.rows());
  BitmapMember& pair = bitmapOf(world, 3);
  EXPECT_EQ(pair.pictureAt(2), nullptr);  // not loaded: no image, no picture
  ASSERT_TRUE(pair.load());
  EXPECT_EQ(pair.pictureAt(1), pair.image());
  EXPECT_EQ(pair.matteAt(1), pair.matte());
  const int32_t unscaledSize = pair.sizeEstimate();
  ImageBuffer* four = pair.pictureAt(4);
  ASSERT_TRUE(four);
  EXPECT_EQ(pair.pictureAt(4), four);  // made once
  EXPECT_EQ(four->width(), 8);
  EXPECT_EQ(four->height(), 4);
  EXPECT_EQ(pair.width(), 2);  // the member keeps its own size
  EXPECT_EQ(pair.sizeEstimate(), unscaledSize + 32 * 8 * 4 / 8 + 1336);
  // Black to red across the middle, in even steps; the outer pixels keep their colour.
  uint32_t previous = 0;
  for (int32_t x = 0; x < 8; ++x) {
    const uint32_t red = (pixelAt(*four, x, 2) >> 16) & 0xFF;
    EXPECT_EQ(pixelAt(*four, x, 2) & 0xFFFF, 0u) << x;
    EXPECT_GE(red, previous) << x;
    previous = red;
  }
  EXPECT_EQ(pixelAt(*four, 0, 0) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(pixelAt(*four, 7, 3) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(pixelAt(*four, 3, 0) & 0xFFFFFF, 0x600000u);  // 3/8 of the way: 95.6
  EXPECT_EQ(pixelAt(*four, 4, 0) & 0xFFFFFF, 0x9F0000u);

  // The white key stays exact: the frame is pure white, the centre never mixes with it, and the
  // matte at 2x keys out all but the enlarged centre.
  BitmapMember& framed = bitmapOf(world, 5);
  ASSERT_TRUE(framed.load());
  ImageBuffer* two = framed.pictureAt(2);
  ImageBuffer* matte = framed.matteAt(2);
  ASSERT_TRUE(two && matte);
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 6; ++x) {
      const bool centre = x >= 2 && x < 4 && y >= 2 && y < 4;
      EXPECT_EQ(pixelAt(*two, x, y) & 0xFFFFFF, centre ? 0x282828u : 0xFFFFFFu) << x << "," << y;
      EXPECT_EQ(matteIsBackground(*matte, x, y), !centre) << x << "," << y;
    }
  }
  EXPECT_EQ(framed.matteAt(1)->width(), 3);

  // Alpha: the transparent red lends no colour to the blue's fading edge.
  BitmapMember& faded = bitmapOf(world, 8);
  ASSERT_TRUE(faded.load());
  ImageBuffer* fadedTwo = faded.pictureAt(2);
  ASSERT_TRUE(fadedTwo);
  EXPECT_TRUE(fadedTwo->useAlpha());
  EXPECT_EQ(pixelAt(*fadedTwo, 0, 0), 0x00000000u);
  EXPECT_EQ(pixelAt(*fadedTwo, 1, 0), 0x400000FFu);
  EXPECT_EQ(pixelAt(*fadedTwo, 2, 1), 0xBF0000FFu);
  EXPECT_EQ(pixelAt(*fadedTwo, 3, 1), 0xFF0000FFu);
  EXPECT_TRUE(matteIsBackground(*faded.matteAt(2), 0, 0));
  EXPECT_FALSE(matteIsBackground(*faded.matteAt(2), 1, 0));

  // Unloading lets the pictures go with the image.
  ASSERT_TRUE(pair.unload(false));
  EXPECT_EQ(pair.sizeEstimate(), 172);
}

// Memory runs short while a finer picture is made: the purge that frees it passes the member by,
// and a picture that cannot be made at all leaves the sprite its image, enlarged as it is drawn.
TEST_F(ScaledPictureTest, PicturesMadeWhileMemoryIsShortKeepTheirMemberAndFallBackToItsImage) {
  SmallCast data;
  CastWorld world(data.media, data.rows.rows());
  BitmapMember& pair = bitmapOf(world, 3);
  ASSERT_TRUE(pair.load());
  {
    const testing::ScarceMemory scarce(8 * 4 * 4, 1);  // the 4x picture's pixels, once
    ImageBuffer* four = pair.pictureAt(4);
    EXPECT_EQ(scarce.refused(), 1);
    EXPECT_TRUE(pair.loaded()) << "the only member loaded, purged while making its own picture";
    ASSERT_TRUE(four);
    EXPECT_EQ(pixelAt(*four, 7, 3) & 0xFFFFFF, 0xFF0000u);
  }
  pair.dropScaledPicture();
  Value target = Value::adopt(ImageBuffer::create(8, 4, 32));
  ImageBuffer& stage = *imageBufferOf(target);
  fillRect(stage, stage.bounds(), 0x0000FF);
  BitmapDraw look;
  look.scale = 4;
  look.destination = stage.bounds();
  const testing::ScarceMemory scarce(8 * 4 * 2);  // no picture of the member's at 4x, in any format
  pair.drawInto(stage, look, nullptr, false);
  EXPECT_GT(scarce.refused(), 0);
  EXPECT_EQ(pixelAt(stage, 0, 0) & 0xFFFFFF, 0x000000u) << "the image, enlarged by the draw";
  EXPECT_EQ(pixelAt(stage, 3, 3) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(pixelAt(stage, 4, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(pixelAt(stage, 7, 3) & 0xFFFFFF, 0xFF0000u);
}

// Member 3 is plain grey; its picture at 2x is a pattern no enlargement of it would give: black,
// green, blue, red in each row. The cast, its media and the set are packed as the game's are.
struct PackedSets {
  qmftool::PackedCast base;
  std::vector<uint8_t> set, otherSet;

  PackedSets() {
    const std::string folder = ::testing::TempDir() + "sets/";
    std::filesystem::create_directories(folder + "art");
    std::filesystem::create_directories(folder + "art@2x");
    const uint8_t grey[2 * 2 * 4] = {99, 99, 99, 255, 99, 99, 99, 255, 99, 99, 99, 255, 99, 99, 99, 255};
    std::vector<uint8_t> pattern;
    for (int i = 0; i < 16; ++i) {
      const uint32_t colour = std::array<uint32_t, 4>{0x000000, 0x00FF00, 0x0000FF, 0xFF0000}[i % 4];
      pattern.insert(pattern.end(), {uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour), 255});
    }
    stbi_write_png((folder + "art/pic.png").c_str(), 2, 2, 4, grey, 8);
    stbi_write_png((folder + "art@2x/pic.png").c_str(), 4, 4, 4, pattern.data(), 16);
    set = pack(folder, "bmp", base);
    qmftool::PackedCast other;
    otherSet = pack(folder, "png", other);  // the same pictures, stored otherwise in the media file
  }

  static std::vector<uint8_t> pack(const std::string& folder, const std::string& stored, qmftool::PackedCast& cast) {
    const std::string text = "bitmap 1.3 image=art/pic.png stored=" + stored + " regX=1 regY=1 useAlpha=0\n";
    const std::string path = folder + "cast.manifest";
    platform::writeWholeFile(path, text.data(), text.size());
    qmftool::Manifest manifest;
    std::string error;
    std::vector<uint8_t> out;
    EXPECT_TRUE(qmftool::readManifest(path, manifest, error) && qmftool::packManifest(manifest, path, cast, error) &&
                qmftool::packScaledSet(manifest, path, cast, 2, out, error))
        << error;
    return out;
  }
};

std::unique_ptr<MediaFile> bytesOf(std::vector<uint8_t> bytes) {
  auto media = std::make_unique<MediaFile>();
  media->bindOwned(std::move(bytes));
  return media;
}

std::vector<std::string> errorLines;

// The packed cast and its sets, member 3 to be loaded.
struct CastWithSets {
  PackedSets data;
  CastWorld world{data.base.media, data.base.rows()};
  Cast& cast = world.cast();
  BitmapMember& member = bitmapOf(world, 3);
};

TEST_F(ScaledPictureTest, SetsGiveMembersTheirOwnPicturesAndAreRefusedWhenTheyDoNotBelong) {
  CastWithSets with;
  auto& [data, world, cast, member] = with;
  ASSERT_TRUE(member.load());
  errorLines.clear();
  setErrorSink([](std::string_view line) { errorLines.emplace_back(line); });

  const uint32_t generation = cast.pictureGeneration();
  ASSERT_TRUE(cast.attachScaledMedia(2, bytesOf(data.set), "sets@2x.qmf"));
  EXPECT_NE(cast.pictureGeneration(), generation);
  ImageBuffer* own = member.pictureAt(2);
  ASSERT_TRUE(own);
  EXPECT_EQ(own->format(), member.image()->format());
  for (int32_t x = 0; x < 4; ++x)
    EXPECT_EQ(pixelAt(*own, x, 3) & 0xFFFFFF, (std::array<uint32_t, 4>{0x000000, 0x00FF00, 0x0000FF, 0xFF0000}[x]));

  // Sets of another scale, of other media or damaged are refused, and the scale keeps its set.
  std::vector<uint8_t> cut(data.set.begin(), data.set.end() - 1);
  EXPECT_FALSE(cast.attachScaledMedia(3, bytesOf(data.set), "sets@2x.qmf"));
  EXPECT_FALSE(cast.attachScaledMedia(2, bytesOf(data.otherSet), "other@2x.qmf"));
  EXPECT_FALSE(cast.attachScaledMedia(2, bytesOf(cut), "cut@2x.qmf"));
  EXPECT_EQ(member.pictureAt(2), own);

  // A set whose picture is damaged attaches; the member falls back to its enlargement, once said.
  std::vector<uint8_t> damaged = data.set;
  const ScaledPicture* entry = cast.scaledMedia(2)->find(3);
  for (int32_t i = 20; i < entry->blobs.packedSize; ++i) damaged[entry->blobs.offset + i] ^= 0x5A;
  ASSERT_TRUE(cast.attachScaledMedia(2, bytesOf(damaged), "damaged@2x.qmf"));
  ASSERT_TRUE(member.pictureAt(2));
  EXPECT_EQ(pixelAt(*member.pictureAt(2), 1, 3) & 0xFFFFFF, 0x636363u);
  member.dropScaledPicture();
  EXPECT_TRUE(member.pictureAt(2));
  setErrorSink(nullptr);
  const std::vector<std::string> expected = {
      "-- media set sets@2x.qmf not used: it is the set of 2x\r\n",
      "-- media set other@2x.qmf not used: it was made for other media than the movie's\r\n",
      "-- media set cut@2x.qmf not used: not a media file (bad magic or trailer word)\r\n",
      "-- member 3 of castLib 1 (\"\") at 2x: undecodable image; its picture is enlarged smoothly instead\r\n"};
  EXPECT_EQ(errorLines, expected);
}

// A set that arrives while the movie plays: the members drawn at its scale keep their enlarged
// pictures until it attaches, and then show its own, decoded ahead, with no decoding left to do.
TEST_F(ScaledPictureTest, AnArrivingSetIsAttachedWithItsPicturesDecodedAhead) {
  CastWithSets with;
  auto& [data, world, cast, member] = with;
  ASSERT_TRUE(member.load());
  const ImageBuffer* enlarged = member.pictureAt(2);
  ASSERT_TRUE(enlarged);

  ScaledSetArrival arrival(cast, cast.readScaledMedia(2, bytesOf(data.set), "sets@2x.qmf"));
  EXPECT_FALSE(arrival.step()) << "one member drawn at 2x, one picture";
  EXPECT_EQ(member.pictureAt(2), enlarged) << "not attached yet";
  const uint32_t generation = cast.pictureGeneration();
  arrival.finish();
  EXPECT_NE(cast.pictureGeneration(), generation);
  EXPECT_TRUE(member.drawnAt(2)) << "taken at once, not made at the next draw";
  ASSERT_TRUE(member.pictureAt(2));
  EXPECT_EQ(pixelAt(*member.pictureAt(2), 1, 3) & 0xFFFFFF, 0x00FF00u) << "the set's own picture";
}

}  // namespace
}  // namespace qn
