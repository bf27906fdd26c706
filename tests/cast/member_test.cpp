#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include "cast/bitmap_member.h"
#include "cast/empty_member.h"
#include "cast/field_member.h"
#include "cast/sound_member.h"
#include "gfx/matte_mask.h"
#include "platform/mapped_file.h"
#include "platform/platform.h"
#include "script/point_object.h"
#include "script/report_error.h"
#include "script/string_object.h"
#include "tests/script/listed_methods.h"
#include "script/symbol_object.h"
#include "tests/cast/cast_fixture.h"
#include "tools/qmftool/bmp_writer.h"

namespace qn {
namespace {

using testing::bitmapRow;
using testing::fieldRow;
using testing::CastWorld;
using testing::MediaBuilder;
using testing::pixelAt;
using testing::TestRows;

class MemberTest : public testing::CastTest {};

std::string formOf(const Value& value) {
  std::string text;
  value.object()->toString(text);
  return text;
}

// A 2 x 2 picture: red, green on top; blue, white below; all opaque.
std::vector<uint8_t> picture32() {
  const uint8_t rgba[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
  return qmftool::writeBmp32(rgba, 2, 2);
}

// Its alpha mask: the top-left pixel fully transparent, the bottom-right half transparent.
std::vector<uint8_t> mask8() {
  const uint8_t values[] = {255, 0, 0, 128};
  return qmftool::writeBmp8(values, 2, 2);
}

std::vector<uint8_t> png24() {
  const uint8_t rgb[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  std::vector<uint8_t> out;
  stbi_write_png_to_func([](void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(context);
    bytes->insert(bytes->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  }, &out, 2, 2, 3, rgb, 6);
  return out;
}

// Media and rows for the bitmap tests.
struct BitmapCast {
  TestRows rows;
  std::vector<uint8_t> media;

  BitmapCast() {
    MediaBuilder builder;
    rows.bitmaps.push_back(bitmapRow(3, 2, 2, builder.compressed(picture32()), 1, 1));
    // With an alpha blob, once with useAlpha and once without.
    for (int32_t number : {8, 9}) {
      BitmapRow row = bitmapRow(number, 2, 2, builder.compressed(picture32()));
      MediaBuilder::Blob alpha = builder.compressed(mask8());
      row.alphaPackedSize = alpha.packed;
      row.alphaUnpackedSize = alpha.unpacked;
      row.useAlpha = number == 8;
      rows.bitmaps.push_back(row);
    }
    // A stored PNG with its alpha: decoded to 24 bits, then made 32-bit with alpha.
    BitmapRow png = bitmapRow(10, 2, 2, builder.stored(png24()));
    MediaBuilder::Blob alpha = builder.compressed(mask8());
    png.alphaPackedSize = alpha.packed;
    png.alphaUnpackedSize = alpha.unpacked;
    png.useAlpha = 1;
    png.storedFormat = 1;
    rows.bitmaps.push_back(png);
    // A blob that does not inflate, one outside the data, and an alpha blob outside the data.
    std::vector<uint8_t> bmp = picture32();
    MediaBuilder::Blob raw = builder.stored(bmp);
    rows.bitmaps.push_back(bitmapRow(11, 2, 2, {raw.offset, raw.packed, raw.unpacked + 1}));
    rows.bitmaps.back().name = "ball";
    rows.bitmaps.push_back(bitmapRow(12, 2, 2, {raw.offset + 100000, raw.packed, raw.unpacked}));
    BitmapRow alphaOutside = bitmapRow(13, 2, 2, raw);
    alphaOutside.alphaPackedSize = 100000;
    alphaOutside.alphaUnpackedSize = 100000;
    rows.bitmaps.push_back(alphaOutside);
    // Blobs that read but do not decode: a BMP without its header, a file image of junk.
    rows.bitmaps.push_back(bitmapRow(14, 2, 2, builder.compressed(std::vector<uint8_t>(bmp.begin() + 14, bmp.end()))));
    rows.bitmaps.push_back(bitmapRow(15, 2, 2, builder.stored(testing::bytesOf("not a picture"))));
    rows.bitmaps.back().storedFormat = 1;
    media = builder.finish();
  }
};

BitmapMember& bitmapOf(const Value& value) { return *dynamic_cast<BitmapMember*>(value.object()); }

TEST(MethodTables, EveryMemberBindsIlkPreloadAndUnload) {
  using testing::unchecked;
  testing::expectBindsExactly("member", CastMemberBase::methods(),
                              {{sym::ilk, unchecked}, {sym::preload, unchecked}, {sym::unload, unchecked}});
}

TEST_F(MemberTest, LookupsByNumberNameAndValue) {
  TestRows rows;
  MediaBuilder builder;
  for (int32_t number : {5, 6}) {
    BitmapRow row = bitmapRow(number, 2, 2, builder.compressed(picture32()));
    row.name = number == 5 ? "Ball" : "ball";
    rows.bitmaps.push_back(row);
  }
  BitmapRow third = bitmapRow(5, 2, 2, builder.compressed(picture32()));
  third.castLib = 3;
  third.name = "";
  rows.bitmaps.push_back(third);
  rows.scripts.push_back(ScriptRow{5, 2, 3, "engine"});
  CastWorld world(builder.finish(), rows.rows());
  Cast& cast = world.cast();

  Value zero = cast.memberOf(Value(0));
  EXPECT_EQ(formOf(zero), "(member 0 of castLib 1)");
  EXPECT_EQ(symbolOf(zero.getProperty(sym::type)), sym::empty);
  EXPECT_EQ(zero.getProperty(sym::loaded).toInteger(), 1);
  Value nobody = cast.memberOf(Value("nobody"));
  EXPECT_EQ(formOf(nobody), "(member -1 of castLib 1)");
  EXPECT_EQ(cast.memberOf(Value(0)).compare(zero, false), kEqual);
  EXPECT_NE(nobody.compare(zero, false), kEqual);

  // Names ignore case; the earliest entered wins.
  Value ball = cast.memberOf(Value("BALL"));
  EXPECT_EQ(ball.getProperty(sym::memberNum).toInteger(), 5);
  EXPECT_EQ(ball.compare(world.member(5), false), kEqual);
  // Renaming the second "ball" leaves the first findable under the old name.
  world.member(6).setProperty(sym::name, Value("shadow"));
  EXPECT_EQ(cast.memberOf(Value("ball")).getProperty(sym::memberNum).toInteger(), 5);
  EXPECT_EQ(cast.memberOf(Value("Shadow")).getProperty(sym::memberNum).toInteger(), 6);
  EXPECT_FALSE(world.member(6).setProperty(sym::name, Value(7)));

  Value script = world.member(5, 2);
  EXPECT_EQ(script.getProperty(sym::number).toInteger(), 131077);
  EXPECT_EQ(castMemberOf(script)->key(), 65541);
  EXPECT_EQ(symbolOf(script.getProperty(sym::scriptType)), sym::parent);
  Value byNumber = cast.memberOf(Value(131077));
  EXPECT_EQ(byNumber.getProperty(sym::castLibNum).toInteger(), 3);
  EXPECT_EQ(byNumber.getProperty(sym::memberNum).toInteger(), 5);
  EXPECT_EQ(cast.memberOf(Value(5.4)).getProperty(sym::memberNum).toInteger(), 5);
  EXPECT_EQ(formOf(cast.memberOf(world.movie().spriteRef(7))), "(member 7 of castLib 1)");
  EXPECT_TRUE(cast.memberOf(script).sameObject(script));

  // A taken key is refused; `new` finds the first free number.
  EXPECT_FALSE(cast.add(new BitmapMember(cast, 5, 1, 32)));
  Value fresh = cast.newBitmapMember(nullptr, -16);
  EXPECT_EQ(fresh.getProperty(sym::memberNum).toInteger(), 1);
  EXPECT_EQ(fresh.getProperty(sym::depth).toInteger(), 16);
  EXPECT_EQ(formOf(fresh.getProperty(sym::rect)), "rect(0, 0, 0, 0)");
  Value inLibrary = Value(3);
  EXPECT_EQ(cast.newBitmapMember(&inLibrary, 32).getProperty(sym::memberNum).toInteger(), 1);
  EXPECT_TRUE(cast.newBitmapMember(&script, 32).isVoid());  // member 5 of castLib 2 is taken
}

TEST_F(MemberTest, BitmapsLoadWithTheirAlpha) {
  BitmapCast data;
  CastWorld world(data.media, data.rows.rows());
  BitmapMember& plain = bitmapOf(world.member(3));
  EXPECT_FALSE(plain.loaded());
  EXPECT_EQ(plain.sizeEstimate(), 172);
  EXPECT_EQ(world.member(3).call(sym::preload).toInteger(), 1);
  ASSERT_TRUE(plain.image());
  EXPECT_EQ(pixelAt(*plain.image(), 0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(pixelAt(*plain.image(), 0, 1) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(plain.sizeEstimate(), 32 * 2 * 2 / 8 + 1336);

  BitmapMember& withAlpha = bitmapOf(world.member(8));
  ASSERT_TRUE(withAlpha.load());
  EXPECT_EQ(pixelAt(*withAlpha.image(), 0, 0), 0x00FF0000u);
  EXPECT_EQ(pixelAt(*withAlpha.image(), 1, 0), 0xFF00FF00u);
  EXPECT_EQ(pixelAt(*withAlpha.image(), 1, 1) >> 24, 127u);
  EXPECT_TRUE(withAlpha.image()->useAlpha());

  // Without useAlpha the transparent parts are drawn onto white and become opaque white.
  BitmapMember& ontoWhite = bitmapOf(world.member(9));
  ASSERT_TRUE(ontoWhite.load());
  EXPECT_EQ(pixelAt(*ontoWhite.image(), 0, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(pixelAt(*ontoWhite.image(), 1, 0) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(pixelAt(*ontoWhite.image(), 0, 1) & 0xFFFFFF, 0x0000FFu);
  EXPECT_FALSE(ontoWhite.image()->useAlpha());

  BitmapMember& png = bitmapOf(world.member(10));
  ASSERT_TRUE(png.load());
  EXPECT_EQ(png.image()->depthCode(), 32);
  EXPECT_EQ(pixelAt(*png.image(), 0, 0), 0x000A141Eu);
  EXPECT_EQ(pixelAt(*png.image(), 1, 0), 0xFF28323Cu);
}

std::vector<std::string> errorLines;

// Damaged blobs leave their members unloaded, and each one's first failed load names it and the
// reason in the debug log; media that is simply absent says nothing.
TEST_F(MemberTest, UnreadableBlobsLeaveMembersUnloadedAndAreNamedOnce) {
  BitmapCast data;
  const auto junkEnd = static_cast<int32_t>(data.media.size()) - kTrailerSize;
  MediaBuilder::Blob sound = {junkEnd - 12, 12, 12};  // the junk image read as a sound
  data.rows.sounds.push_back(SoundRow{16, 1, 0, "hit", "", sound.offset, sound.packed, sound.unpacked});
  FieldRow field = fieldRow({4, 20, 40});  // the first image's stream cut short
  data.rows.fields.push_back(field);
  CastWorld world(data.media, data.rows.rows());
  errorLines.clear();
  setErrorSink([](std::string_view line) { errorLines.emplace_back(line); });
  for (int pass = 0; pass < 2; ++pass) {
    for (int32_t number : {11, 12, 13, 14, 15, 16, 51}) {
      EXPECT_EQ(world.member(number).call(sym::preload).toInteger(), 0) << number;
      EXPECT_EQ(world.member(number).getProperty(sym::loaded).toInteger(), 0) << number;
    }
  }
  // A member that could not load tries again on the next preload: here the media was missing.
  world.media().close();
  EXPECT_EQ(world.member(3).call(sym::preload).toInteger(), 0);
  world.media().bindBytes(data.media.data(), data.media.size());
  EXPECT_EQ(world.member(3).call(sym::preload).toInteger(), 1);
  setErrorSink(nullptr);
  const std::vector<std::string> expected = {
      "-- member 11 of castLib 1 (\"ball\") not loaded: bad zlib stream\r\n",
      "-- member 12 of castLib 1 (\"\") not loaded: blob lies outside the media file\r\n",
      "-- member 13 of castLib 1 (\"\") not loaded: blob lies outside the media file\r\n",
      "-- member 14 of castLib 1 (\"\") not loaded: bad BMP header\r\n",
      "-- member 15 of castLib 1 (\"\") not loaded: undecodable image\r\n",
      "-- member 16 of castLib 1 (\"hit\") not loaded: undecodable sound\r\n",
      "-- member 51 of castLib 1 (\"gameTxt\") not loaded: bad zlib stream\r\n"};
  EXPECT_EQ(errorLines, expected);
}

TEST_F(MemberTest, PurgeTakesTheLeastRecentlyUsedUnmodifiedMember) {
  BitmapCast data;
  CastWorld world(data.media, data.rows.rows());
  BitmapMember& first = bitmapOf(world.member(3));
  BitmapMember& second = bitmapOf(world.member(8));
  BitmapMember& pinned = bitmapOf(world.member(9));
  for (BitmapMember* member : {&first, &second, &pinned}) ASSERT_TRUE(member->load());
  // Members are stamped with the time the current tick began.
  world.display().clock = 5000;
  world.movie().tick();
  world.display().clock = 5100;
  first.touch();
  world.display().clock = 4000;
  world.movie().tick();
  second.touch();
  pinned.setProperty(sym::modified, Value(1));
  EXPECT_TRUE(pinned.modified());

  int32_t one = second.sizeEstimate();
  EXPECT_FALSE(world.cast().purgeMembers(one));  // exactly one member's worth: not more than asked
  EXPECT_FALSE(second.loaded());
  EXPECT_TRUE(first.loaded());
  EXPECT_TRUE(world.cast().purgeMembers(1));
  EXPECT_FALSE(first.loaded());
  // Nothing is left but the modified member: the purge stops.
  EXPECT_FALSE(world.cast().purgeMembers(1000000));
  EXPECT_TRUE(pinned.loaded());
  // `unload` leaves a modified member alone unless forced.
  EXPECT_EQ(world.member(9).call(sym::unload).toInteger(), 1);
  EXPECT_TRUE(pinned.loaded());
  world.cast().unloadAll(true);
  EXPECT_FALSE(pinned.loaded());
}

// Loading a picture holds the decoded members to the budget as a finer picture does: the least
// recently used go, never the member just loaded.
TEST_F(MemberTest, EveryLoadKeepsTheDecodedMembersWithinTheBudget) {
  BitmapCast data;
  CastWorld world(data.media, data.rows.rows());
  BitmapMember& first = bitmapOf(world.member(3));
  BitmapMember& second = bitmapOf(world.member(8));
  ASSERT_TRUE(first.load());
  world.cast().setDecodedBudget(first.sizeEstimate() + 100);
  ASSERT_TRUE(second.load());
  EXPECT_FALSE(first.loaded());
  EXPECT_TRUE(second.loaded());
}

TEST_F(MemberTest, BitmapPropertiesAndFilenames) {
  BitmapCast data;
  CastWorld world(data.media, data.rows.rows());
  Value member = world.member(3);
  BitmapMember& bitmap = bitmapOf(member);
  EXPECT_EQ(formOf(member.getProperty(sym::regPoint)), "point(1, 1)");
  EXPECT_TRUE(member.setProperty(sym::regPoint, makePoint(5, -3)));
  EXPECT_FALSE(member.setProperty(sym::regPoint, Value(5)));
  EXPECT_EQ(bitmap.regPoint(), (IntPoint{5, -3}));
  EXPECT_EQ(formOf(member.getProperty(sym::rect)), "rect(0, 0, 2, 2)");

  // A file named by the member: read at once, the regPoint recentred.
  const uint8_t rgba[6 * 4 * 4] = {};
  std::vector<uint8_t> wide = qmftool::writeBmp32(rgba, 6, 4);
  std::string name = "member_test_wide.bmp";
  ASSERT_TRUE(platform::writeWholeFile(programRelativePath(name), wide.data(), wide.size()));
  EXPECT_TRUE(member.setProperty(sym::filename, Value(name)));
  EXPECT_TRUE(bitmap.loaded());
  EXPECT_FALSE(bitmap.modified());
  EXPECT_EQ(bitmap.width(), 6);
  EXPECT_EQ(bitmap.regPoint(), (IntPoint{3, 2}));
  std::remove(programRelativePath(name).c_str());

  // No network service: such names give a clear unloaded member.
  EXPECT_TRUE(member.setProperty(sym::filename, Value("http://example.org/x.bmp")));
  EXPECT_FALSE(bitmap.loaded());
  EXPECT_FALSE(bitmap.image());
  EXPECT_TRUE(member.setProperty(sym::filename, Value("picture.tga")));
  EXPECT_FALSE(bitmap.loaded());

  // An image set from a script: copied, recentred, pinned.
  Value source = Value::adopt(ImageBuffer::create(8, 4, 16));
  EXPECT_TRUE(member.setProperty(sym::image, source));
  EXPECT_TRUE(bitmap.modified());
  EXPECT_EQ(bitmap.depth(), 16);
  EXPECT_EQ(bitmap.regPoint(), (IntPoint{4, 2}));
  EXPECT_FALSE(member.getProperty(sym::intImage).sameObject(source));
  // The image object follows the member's current image.
  Value image = member.getProperty(sym::image);
  EXPECT_TRUE(image.is(sym::image));
  EXPECT_TRUE(image.getProperty(sym::intImage).sameObject(member.getProperty(sym::intImage)));
  EXPECT_TRUE(textOf(member.getProperty(sym::filename)).empty());
}

TEST_F(MemberTest, SixteenBitMembersFollowPrefer565) {
  for (bool prefer565 : {false, true}) {
    MediaBuilder builder;
    TestRows rows;
    BitmapRow row = bitmapRow(3, 2, 2, builder.compressed(picture32()));
    row.depth = 16;
    rows.bitmaps.push_back(row);
    CastWorld world(builder.finish(), rows.rows(), prefer565);
    BitmapMember& bitmap = bitmapOf(world.member(3));
    ASSERT_TRUE(bitmap.load());
    EXPECT_EQ(bitmap.image()->depthCode(), prefer565 ? -16 : 16);
  }
}

TEST_F(MemberTest, CreateMatteOfAMemberImageIsTheMembersMatte) {
  BitmapCast data;
  CastWorld world(data.media, data.rows.rows());
  // Drawn onto white: the white corners touch the border, so they are background.
  Value ontoWhite = world.member(9);
  const Value matte = ontoWhite.getProperty(sym::image).call(sym::createMatte);
  ASSERT_TRUE(matte.is(sym::image));
  const ImageBuffer& made = *imageBufferOf(matte.getProperty(sym::intImage));
  const ImageBuffer& own = *bitmapOf(ontoWhite).matte();
  ASSERT_EQ(made.depth(), 1);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 2; ++x) EXPECT_EQ(matteIsBackground(made, x, y), matteIsBackground(own, x, y));
  EXPECT_TRUE(matteIsBackground(made, 0, 0));
  EXPECT_FALSE(matteIsBackground(made, 1, 0));

  // With useAlpha the threshold argument decides: the half-transparent corner (alpha 127).
  const Value image = world.member(8).getProperty(sym::image);
  EXPECT_FALSE(matteIsBackground(*imageBufferOf(image.call(sym::createMatte).getProperty(sym::intImage)), 1, 1));
  EXPECT_TRUE(matteIsBackground(*imageBufferOf(image.call(sym::createMatte, 128).getProperty(sym::intImage)), 1, 1));
}

TEST_F(MemberTest, FieldTextAndProperties) {
  MediaBuilder builder;
  TestRows rows;
  std::string text = "Dael is next";
  rows.fields.push_back(fieldRow(builder.compressed(std::vector<uint8_t>(text.c_str(), text.c_str() + text.size() + 1))));
  CastWorld world(builder.finish(), rows.rows());
  Value member = world.member(51);
  auto& field = *dynamic_cast<FieldMember*>(member.object());
  EXPECT_FALSE(field.loaded());
  EXPECT_EQ(textOf(member.getProperty(sym::text)), "Dael is next");
  EXPECT_TRUE(field.loaded());

  EXPECT_TRUE(member.setProperty(sym::text, Value("Dael is next")));
  EXPECT_FALSE(field.modified());
  EXPECT_TRUE(member.setProperty(sym::text, Value(42)));
  EXPECT_EQ(textOf(member.getProperty(sym::text)), "42");
  EXPECT_TRUE(field.modified());

  EXPECT_EQ(textOf(member.getProperty(sym::alignment)), "center");
  for (auto [given, expected] : {std::pair{"right", "right"}, {"middle", "left"}, {"center", "center"}}) {
    EXPECT_TRUE(member.setProperty(sym::alignment, Value(given)));
    EXPECT_EQ(textOf(member.getProperty(sym::alignment)), expected);
  }
  EXPECT_FALSE(member.setProperty(sym::alignment, Value(2)));
  EXPECT_FALSE(member.setProperty(sym::font, Value(3)));
  EXPECT_FALSE(member.setProperty(sym::color, Value(3)));
  EXPECT_EQ(formOf(member.getProperty(sym::rect)), "rect(0, 0, 184, 15)");

  // Edits give the member its own copy of a shared text first.
  Value held = member.getProperty(sym::text);
  Value added(" now");
  Value* addedArgv[] = {&added};
  Value answer;
  ASSERT_TRUE(field.handle(sym::putAfter, 1, answer, addedArgv, false));
  EXPECT_EQ(textOf(held), "42");
  EXPECT_EQ(textOf(member.getProperty(sym::text)), "42 now");
  Value word = Value::symbol(sym::word), two(2), replacement("later");
  Value* chunkArgv[] = {&word, &two, &two, &replacement};
  ASSERT_TRUE(field.handle(sym::setChunk, 4, answer, chunkArgv, false));
  EXPECT_EQ(textOf(member.getProperty(sym::text)), "42 later");
  EXPECT_EQ(member.call(sym::length).toInteger(), 8);
  EXPECT_EQ(member.getProperty(sym::lineCount).toInteger(), 1);

  // `chars` takes exactly two arguments here.
  Value result;
  Value one(1);
  Value* argv[] = {&one};
  EXPECT_FALSE(field.handle(sym::chars, 1, result, argv, false));
}

TEST_F(MemberTest, FieldsCacheTheirRenderingUnlessColoursAreEqual) {
  MediaBuilder builder;
  TestRows rows;
  std::vector<uint8_t> text = {'H', 'i', 0};
  rows.fields.push_back(fieldRow(builder.compressed(text)));
  CastWorld world(builder.finish(), rows.rows());
  Value member = world.member(51);
  auto& field = *dynamic_cast<FieldMember*>(member.object());
  Value stage = Value::adopt(ImageBuffer::create(240, 320, 32));
  ImageBuffer& pixels = *imageBufferOf(stage);
  fillRect(pixels, pixels.bounds(), 0x123456);

  field.drawInto(pixels, PixelRect{10, 10, 194, 25}, 0, 255);
  EXPECT_TRUE(field.hasRenderedCopy());
  EXPECT_EQ(pixelAt(pixels, 10, 10) & 0xFFFFFF, 0x000000u);  // the black background
  bool anyWhite = false;
  for (int32_t y = 10; y < 25; ++y)
    for (int32_t x = 10; x < 194; ++x) anyWhite |= (pixelAt(pixels, x, y) & 0xFFFFFF) == 0xFFFFFF;
  EXPECT_TRUE(anyWhite) << "the white text left no white pixel";
  EXPECT_EQ(pixelAt(pixels, 9, 10) & 0xFFFFFF, 0x123456u);

  EXPECT_TRUE(member.setProperty(sym::fontSize, Value(9)));
  EXPECT_FALSE(field.hasRenderedCopy());
  EXPECT_TRUE(member.setProperty(sym::bgColor, member.getProperty(sym::color)));
  field.drawInto(pixels, PixelRect{10, 10, 194, 25}, 0, 255);
  EXPECT_FALSE(field.hasRenderedCopy());

  // Any size a script sets is drawn within the stage: only the visible part is rendered.
  EXPECT_TRUE(member.setProperty(sym::width, Value(100000000)));
  EXPECT_TRUE(member.setProperty(sym::fontSize, Value(2000000000)));
  field.drawInto(pixels, PixelRect{-50000000, 10, 50000000, 25}, 0, 255);
  EXPECT_TRUE(member.setProperty(sym::width, Value(184)));
  EXPECT_TRUE(member.setProperty(sym::fontSize, Value(12)));

  // `image` is an image object of its own around a fresh 32-bit buffer.
  Value image = member.getProperty(sym::image);
  EXPECT_TRUE(image.is(sym::image));
  Value buffer = image.getProperty(sym::intImage);
  ASSERT_TRUE(imageBufferOf(buffer));
  EXPECT_EQ(imageBufferOf(buffer)->width(), 184);
  EXPECT_EQ(imageBufferOf(buffer)->depthCode(), 32);
}

}  // namespace
}  // namespace qn
