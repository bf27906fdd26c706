#include <gtest/gtest.h>

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <filesystem>

#include "cast/image_blob.h"
#include "cast/media_file.h"
#include "cast/media_format.h"
#include "cast/scaled_media_format.h"
#include "platform/mapped_file.h"
#include "script/value.h"
#include "tools/qmftool/bmp_writer.h"
#include "tools/qmftool/packer.h"
#include "tools/qmftool/scaled_set_packer.h"
#include "tools/qmftool_command.h"

namespace qn::qmftool {
namespace {

std::string folder() { return ::testing::TempDir(); }

void writeText(const std::string& name, const std::string& text) {
  ASSERT_TRUE(platform::writeWholeFile(folder() + name, text.data(), text.size()));
}

// A 3 x 2 RGBA PNG whose left column is transparent, or `scale` times as large with its left
// third transparent.
void writePng(const std::string& name, int scale = 1) {
  const int width = 3 * scale, height = 2 * scale;
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
  for (int i = 0; i < width * height; ++i) {
    uint8_t* pixel = rgba.data() + i * 4;
    pixel[0] = static_cast<uint8_t>(40 * i), pixel[1] = 200, pixel[2] = 10;
    pixel[3] = i % width < scale ? 0 : 255;
  }
  std::string path = folder() + name;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  ASSERT_NE(stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4), 0);
}

bool pack(const std::string& manifestText, PackedCast& cast, std::string& error) {
  writeText("test.manifest", manifestText);
  Manifest manifest;
  std::string path = folder() + "test.manifest";
  return readManifest(path, manifest, error) && packManifest(manifest, path, cast, error);
}

TEST(QmfToolTest, PacksBlobsInOrderWithAValidTrailer) {
  writePng("glow.png");
  writeText("click.wav", std::string(300, 'A'));
  PackedCast cast;
  std::string error;
  ASSERT_TRUE(pack("# a small cast\n"
                   "bitmap 1.3 image=glow.png stored=bmp regX=1 regY=1 useAlpha=0\n"
                   "\n"
                   "bitmap 1.8 image=glow.png stored=png regX=-93 regY=0x10 useAlpha=1 name=\"aa pressglow go\"\n"
                   "field 1.51 width=184 height=15 color=0xFFFFFF bgColor=0 lineHeight=15 alignment=1 wordWrap=1 "
                   "font=Tahoma fontSize=12 fontStyle=bold name=gameTxt text=\"\"\n"
                   "field 1.52 width=139 height=17 color=0xFFFFFF bgColor=0 lineHeight=15 alignment=0 wordWrap=1 "
                   "font=Tahoma fontSize=12 fontStyle=bold name=\"clo\\\"sest\" text=\"Todays \\\"Record\\\":\\r2\"\n"
                   "sound 1.66 audio=click.wav loop=0 name=vault compress=0\n"
                   "sound 1.67 audio=click.wav loop=1 name=rotate compress=1\n"
                   "script 2.2 type=3 name=engine\n",
                   cast, error))
      << error;
  ASSERT_TRUE(mediaBytesAreValid(cast.media.data(), cast.media.size()));
  ASSERT_EQ(cast.bitmaps.size(), 2u);
  const BitmapRow& bmp = cast.bitmaps[0];
  const BitmapRow& png = cast.bitmaps[1];
  EXPECT_EQ(bmp.offset, 4);
  EXPECT_EQ(bmp.storedFormat, 0);
  EXPECT_NE(bmp.packedSize, bmp.unpackedSize);
  EXPECT_EQ(bmp.alphaPackedSize, 0);
  EXPECT_EQ(png.offset, bmp.offset + bmp.packedSize);
  EXPECT_EQ(png.storedFormat, 1);
  EXPECT_EQ(png.packedSize, png.unpackedSize);
  EXPECT_EQ(png.regX, -93);
  EXPECT_EQ(png.regY, 16);
  EXPECT_STREQ(png.name, "aa pressglow go");
  EXPECT_EQ(png.width, 3);
  EXPECT_EQ(png.height, 2);
  const FieldRow& empty = cast.fields[0];
  EXPECT_EQ(empty.offset, png.offset + png.packedSize + png.alphaPackedSize);
  EXPECT_EQ(empty.packedSize, 9);  // an empty text: one zero byte, zlib-compressed
  EXPECT_EQ(empty.unpackedSize, 1);
  EXPECT_EQ(cast.sounds[0].packedSize, 300);
  EXPECT_LT(cast.sounds[1].packedSize, 300);
  EXPECT_EQ(cast.sounds[1].offset + cast.sounds[1].packedSize + kTrailerSize, static_cast<int32_t>(cast.media.size()));
  EXPECT_EQ(cast.rows().mediaFileSize, static_cast<int32_t>(cast.media.size()));

  // Everything reads back through the runtime's own path.
  MediaFile media;
  media.bindBytes(cast.media.data(), cast.media.size());
  MemberBytes text = media.fetchMemberData(cast.fields[1].offset, cast.fields[1].packedSize, cast.fields[1].unpackedSize);
  ASSERT_TRUE(text);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.data())), "Todays \"Record\":\r2");
  MemberBytes alpha = media.fetchMemberData(png.offset + png.packedSize, png.alphaPackedSize, png.alphaUnpackedSize);
  DecodedImage mask;
  ASSERT_TRUE(decodeImageBlob(alpha.data(), alpha.size(), kStoredBmp, nullptr, mask));
  EXPECT_EQ(mask.depthCode, 8);
  EXPECT_EQ(mask.row(0)[0], 255);  // transparent: mask 255
  EXPECT_EQ(mask.row(0)[1], 0);
  MemberBytes image = media.fetchMemberData(png.offset, png.packedSize, png.unpackedSize);
  DecodedImage pixels;
  ASSERT_TRUE(decodeImageBlob(image.data(), image.size(), kStoredFileImage, nullptr, pixels));
  EXPECT_EQ(pixels.depthCode, 24);
  EXPECT_EQ(pixels.row(0)[3 + 2], 40);  // red of the second pixel, as B, G, R

  std::string source = castTableSource(cast, "test.manifest");
  EXPECT_NE(source.find("{51, 1, 184, 15, 0xFFFFFF, 0x000000, 15, 0, 1, 1, \"Tahoma\", 12, \"bold\", \"gameTxt\", " +
                        std::to_string(empty.offset) + ", 9, 1},"),
            std::string::npos)
      << source;
  EXPECT_NE(source.find("\"clo\\\"sest\""), std::string::npos) << source;
  EXPECT_NE(source.find("{2, 2, 3, \"engine\"}"), std::string::npos);
}

TEST(QmfToolTest, ManifestMistakesNameTheLine) {
  writePng("glow.png");
  PackedCast cast;
  std::string error;
  const std::pair<const char*, const char*> cases[] = {
      {"bitmap 1.3 image=glow.png stored=bmp regX=1 regY=1 useAlpha=0 colour=1\n", "test.manifest:1: unknown key colour"},
      {"\nbitmap 1.3 image=glow.png stored=tga regX=1 regY=1 useAlpha=0\n", "test.manifest:2: stored must be"},
      {"bitmap 1.3 image=glow.png stored=bmp regY=1 useAlpha=0\n", "test.manifest:1: missing key regX"},
      {"bitmap 1.3 image=none.png stored=bmp regX=1 regY=1 useAlpha=0\n", "test.manifest:1: cannot read"},
      {"script 2.2 type=3\nscript 1.4 type=1\n", "test.manifest:2: member 1.4 is out of order"},
      {"script 2.2 type=3\nscript 2.2 type=1\n", "test.manifest:2: member 2.2 is listed twice"},
      {"script 2.2 type=4\n", "test.manifest:1: type must be"},
      {"sprite 2.2 type=1\n", "test.manifest:1: unknown member kind"},
      {"script 2 type=1\n", "test.manifest:1: member \"2\" is not CASTLIB.NUMBER"},
      {"field 1.5 text=\"open\n", "test.manifest:1: quoted value is not closed"},
      {"script 2.2 type=x1\n", "test.manifest:1: type=x1 is not a number"},
      {"bitmap 1.3 image=glow.png stored=bmp regX=1 regY=1 useAlpha=2\n", "test.manifest:1: useAlpha must be 0 or 1"},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_FALSE(pack(text, cast, error)) << text;
    EXPECT_NE(error.find(expected), std::string::npos) << error;
  }
}

TEST(QmfToolTest, PackThenCheckAndSheet) {
  initValueModel();
  writePng("glow.png");
  writeText("cast.manifest", "bitmap 1.3 image=glow.png stored=bmp regX=1 regY=1 useAlpha=0\n"
                             "bitmap 1.8 image=glow.png stored=png regX=1 regY=1 useAlpha=1 name=glow\n"
                             "script 2.1 type=2\n");
  std::string manifest = folder() + "cast.manifest", media = folder() + "cast.qmf", rows = folder() + "cast_rows.cpp";
  std::string sheet = folder() + "cast_sheet.png";
  ASSERT_EQ(tools::packCommand(std::vector<std::string_view>{manifest, media, rows}), tools::kSucceeded);
  std::string source;
  ASSERT_TRUE(platform::readWholeFile(rows, source));
  EXPECT_NE(source.find("const CastRows& movieCastRows()"), std::string::npos);
  EXPECT_EQ(tools::checkCommand(std::vector<std::string_view>{media}), tools::kSucceeded);
  EXPECT_EQ(tools::checkCommand(std::vector<std::string_view>{media, manifest}), tools::kSucceeded);
  EXPECT_EQ(tools::sheetCommand(std::vector<std::string_view>{manifest, media, sheet}), tools::kSucceeded);

  // One damaged byte in a compressed blob: the file rules still pass, the member check does not.
  std::string bytes;
  ASSERT_TRUE(platform::readWholeFile(media, bytes));
  bytes[10] = static_cast<char>(bytes[10] ^ 0x55);
  ASSERT_TRUE(platform::writeWholeFile(media, bytes.data(), bytes.size()));
  EXPECT_EQ(tools::checkCommand(std::vector<std::string_view>{media}), tools::kSucceeded);
  EXPECT_EQ(tools::checkCommand(std::vector<std::string_view>{media, manifest}), tools::kFailed);
  EXPECT_EQ(tools::sheetCommand(std::vector<std::string_view>{manifest, media, sheet}), tools::kFailed);
  bytes[bytes.size() - 2] = static_cast<char>(bytes[bytes.size() - 2] ^ 1);  // the trailer word
  ASSERT_TRUE(platform::writeWholeFile(media, bytes.data(), bytes.size()));
  EXPECT_EQ(tools::checkCommand(std::vector<std::string_view>{media}), tools::kFailed);
  shutdownValueModel();
}

// A finer set packs beside the media file, checks against the manifest's cast, and a set that no
// longer matches it, or pictures of the wrong size, are named.
TEST(QmfToolTest, FinerSetsPackAndCheckAgainstTheCast) {
  initValueModel();
  writePng("art/glow.png");
  writePng("art@2x/glow.png", 2);
  const std::string members = "bitmap 1.3 image=art/glow.png stored=bmp regX=1 regY=1 useAlpha=0\n"
                              "bitmap 1.8 image=art/glow.png stored=png regX=1 regY=-1 useAlpha=1\n";
  writeText("sets.manifest", members);
  std::string manifest = folder() + "sets.manifest", media = folder() + "sets.qmf", set = folder() + "sets@2x.qmf";
  ASSERT_EQ(tools::packCommand(std::vector<std::string_view>{"--scales", "2", manifest, media}), tools::kSucceeded);
  EXPECT_EQ(tools::checkCommand(std::vector<std::string_view>{set}), tools::kSucceeded);
  EXPECT_EQ(tools::checkCommand(std::vector<std::string_view>{set, manifest}), tools::kSucceeded);
  std::string bytes;
  ASSERT_TRUE(platform::readWholeFile(set, bytes));
  ScaledSetTable table;
  std::string problem;
  ASSERT_TRUE(readScaledSetTable(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), table, problem));
  ASSERT_EQ(table.pictures.size(), 2u);
  EXPECT_EQ(table.pictures[1].memberKey, 8);
  EXPECT_EQ(table.pictures[1].width, 6);
  EXPECT_EQ(table.pictures[1].regY, -2);
  EXPECT_EQ(table.pictures[0].blobs.alphaPackedSize, 0);  // only members with useAlpha have their alpha
  EXPECT_NE(table.pictures[1].blobs.alphaPackedSize, 0);

  // The cast changed since: the set was made for other media, and member 3's regPoint is no longer
  // half the picture's.
  writeText("sets.manifest", "bitmap 1.3 image=art/glow.png stored=bmp regX=2 regY=1 useAlpha=0\n" +
                                 members.substr(members.find('\n') + 1));
  EXPECT_EQ(tools::checkCommand(std::vector<std::string_view>{set, manifest}), tools::kFailed);
  // A picture of the wrong size, or a folder without it, stops the packing with the entry's line.
  writePng("art@2x/glow.png", 3);
  PackedCast base;
  Manifest parsed;
  std::vector<uint8_t> packed;
  ASSERT_TRUE(readManifest(manifest, parsed, problem) && packManifest(parsed, manifest, base, problem)) << problem;
  EXPECT_FALSE(packScaledSet(parsed, manifest, base, 2, packed, problem));
  EXPECT_NE(problem.find("sets.manifest:1: " + folder() + "art@2x/glow.png is 9 x 6, not 2 times 3 x 2"),
            std::string::npos)
      << problem;
  EXPECT_FALSE(packScaledSet(parsed, manifest, base, 3, packed, problem));
  EXPECT_NE(problem.find("cannot read " + folder() + "art@3x/glow.png"), std::string::npos) << problem;
  EXPECT_EQ(tools::packCommand(std::vector<std::string_view>{"--scales", "2,5", manifest, media}), tools::kFailed);
  shutdownValueModel();
}

TEST(QmfToolTest, DecodeGoesThroughTheMemberLoadPath) {
  initValueModel();
  writePng("glow.png");
  const uint8_t mask[] = {255, 0, 0, 0, 128, 0};
  std::vector<uint8_t> alpha = writeBmp8(mask, 3, 2);
  ASSERT_TRUE(platform::writeWholeFile(folder() + "glow_alpha.bmp", alpha.data(), alpha.size()));
  std::string in = folder() + "glow.png", out = folder() + "glow_decoded.png", mask8 = folder() + "glow_alpha.bmp";
  std::vector<std::string_view> arguments = {in, out, mask8};
  ASSERT_EQ(tools::decodeCommand(arguments), tools::kSucceeded);
  int width = 0, height = 0, components = 0;
  std::unique_ptr<stbi_uc, void (*)(void*)> pixels(stbi_load(out.c_str(), &width, &height, &components, 4),
                                                    stbi_image_free);
  ASSERT_TRUE(pixels);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(pixels.get()[3], 0);        // mask 255: transparent
  EXPECT_EQ(pixels.get()[4 + 3], 255);  // mask 0: opaque
  EXPECT_EQ(pixels.get()[4 * 4 + 3], 127);
  EXPECT_EQ(pixels.get()[4 + 0], 40);   // the colours come through the PNG decoder unchanged

  std::vector<std::string_view> junk = {mask8, out, in};  // a PNG is no alpha BMP
  EXPECT_EQ(tools::decodeCommand(junk), tools::kFailed);
  std::vector<std::string_view> tooFew = {in};
  EXPECT_EQ(tools::decodeCommand(tooFew), tools::kBadUsage);
  shutdownValueModel();
}

}  // namespace
}  // namespace qn::qmftool
