// The packed media file the build makes for the game: it validates, its blobs tile it exactly in
// cast order, and every member's bytes decode to what the cast rows promise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "cast/bitmap_member.h"
#include "cast/cast.h"
#include "cast/cast_rows.h"
#include "cast/image_blob.h"
#include "cast/media_file.h"
#include "cast/scaled_media_format.h"
#include "gfx/matte_mask.h"
#include "script/report_error.h"
#include "script/string_object.h"
#include "sound/decode_sound.h"

namespace qn {
namespace {

class GameMediaFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(media.bindFile(BOULES_MEDIA_FILE)) << BOULES_MEDIA_FILE; }

  MemberBytes fetch(int32_t offset, int32_t packed, int32_t unpacked) const {
    return media.fetchMemberData(offset, packed, unpacked);
  }

  MediaFile media;
  const CastRows& rows = movieCastRows();
};

struct Blob {
  int32_t key;  // member key, then 0 for an image and 1 for its alpha blob
  int32_t part;
  int32_t offset, size;
};

TEST_F(GameMediaFile, ValidatesAndHasTheCompiledInSize) {
  EXPECT_EQ(static_cast<int64_t>(media.length()), rows.mediaFileSize);
  EXPECT_EQ(media.validate(rows.mediaFileSize, "MyMovie.qmf"), MediaCheck::accepted);
  EXPECT_EQ(std::memcmp(media.data(), "QMF!", 4), 0);
}

TEST_F(GameMediaFile, BlobsTileTheFileInCastOrderFromOffsetFour) {
  std::vector<Blob> blobs;
  for (const BitmapRow& row : rows.bitmaps) {
    blobs.push_back({row.number + (row.castLib - 1) * 65536, 0, row.offset, row.packedSize});
    if (row.alphaPackedSize) blobs.push_back({row.number + (row.castLib - 1) * 65536, 1, row.offset + row.packedSize, row.alphaPackedSize});
  }
  for (const FieldRow& row : rows.fields) blobs.push_back({row.number + (row.castLib - 1) * 65536, 0, row.offset, row.packedSize});
  for (const SoundRow& row : rows.sounds) blobs.push_back({row.number + (row.castLib - 1) * 65536, 0, row.offset, row.packedSize});
  std::sort(blobs.begin(), blobs.end(), [](const Blob& a, const Blob& b) { return a.key != b.key ? a.key < b.key : a.part < b.part; });
  int32_t expected = 4;
  for (const Blob& blob : blobs) {
    EXPECT_EQ(blob.offset, expected) << "member key " << blob.key << " part " << blob.part;
    expected = blob.offset + blob.size;
  }
  EXPECT_EQ(expected, rows.mediaFileSize - 4);
}

TEST_F(GameMediaFile, EveryBitmapDecodesToItsSize) {
  for (const BitmapRow& row : rows.bitmaps) {
    SCOPED_TRACE(row.number);
    MemberBytes bytes = fetch(row.offset, row.packedSize, row.unpackedSize);
    ASSERT_TRUE(bytes);
    DecodedImage image;
    ASSERT_TRUE(decodeImageBlob(bytes.data(), bytes.size(), row.storedFormat, {}, image));
    EXPECT_EQ(image.width, row.width);
    EXPECT_EQ(image.height, row.height);
    EXPECT_EQ(row.storedFormat, row.useAlpha) << "alpha members are stored as file images";
    if (row.alphaPackedSize) {
      MemberBytes alpha = fetch(row.offset + row.packedSize, row.alphaPackedSize, row.alphaUnpackedSize);
      ASSERT_TRUE(alpha);
      DecodedImage mask;
      ASSERT_TRUE(decodeImageBlob(alpha.data(), alpha.size(), kStoredBmp, {}, mask));
      EXPECT_EQ(mask.bitsPerPixel(), 8);
      EXPECT_EQ(mask.width, row.width);
      EXPECT_EQ(mask.height, row.height);
    }
  }
}

TEST_F(GameMediaFile, FieldTextsEndInTheirZeroByte) {
  for (const FieldRow& row : rows.fields) {
    SCOPED_TRACE(row.name);
    MemberBytes text = fetch(row.offset, row.packedSize, row.unpackedSize);
    ASSERT_TRUE(text);
    ASSERT_EQ(text.size(), static_cast<size_t>(row.unpackedSize));
    EXPECT_EQ(text.data()[text.size() - 1], 0);
    EXPECT_EQ(std::memchr(text.data(), 0, text.size() - 1), nullptr);
  }
}

TEST_F(GameMediaFile, SoundsAreWaveOrVorbisInEveryFormat) {
  int waves = 0, vorbis = 0, compressed = 0;
  std::vector<int> bits, rates, channels;
  for (const SoundRow& row : rows.sounds) {
    SCOPED_TRACE(row.name);
    MemberBytes bytes = fetch(row.offset, row.packedSize, row.unpackedSize == 0 ? row.packedSize : row.unpackedSize);
    ASSERT_TRUE(bytes);
    if (row.unpackedSize != 0 && row.unpackedSize != row.packedSize) ++compressed;
    if (std::memcmp(bytes.data(), "RIFF", 4) == 0) {
      ASSERT_EQ(std::memcmp(bytes.data() + 8, "WAVEfmt ", 8), 0);
      channels.push_back(bytes.data()[22]);
      rates.push_back(bytes.data()[24] | bytes.data()[25] << 8);
      bits.push_back(bytes.data()[34]);
      ++waves;
    } else {
      EXPECT_EQ(std::memcmp(bytes.data(), "OggS", 4), 0);
      ++vorbis;
    }
  }
  EXPECT_GT(waves, 0);
  EXPECT_GT(vorbis, 0);
  EXPECT_GT(compressed, 0);
  for (int wanted : {8, 16}) EXPECT_NE(std::find(bits.begin(), bits.end(), wanted), bits.end()) << wanted;
  for (int wanted : {1, 2}) EXPECT_NE(std::find(channels.begin(), channels.end(), wanted), channels.end()) << wanted;
  for (int wanted : {11025, 22050, 44100}) EXPECT_NE(std::find(rates.begin(), rates.end(), wanted), rates.end()) << wanted;
}

TEST_F(GameMediaFile, EverySoundDecodes) {
  for (const platform::WaveFormat& output : {platform::pcmFormat(2, 22050, 8), platform::pcmFormat(2, 44100, 16)}) {
    for (const SoundRow& row : rows.sounds) {
      SCOPED_TRACE(row.name);
      MemberBytes bytes = fetch(row.offset, row.packedSize, row.unpackedSize == 0 ? row.packedSize : row.unpackedSize);
      ASSERT_TRUE(bytes);
      SampleRef samples = decodeSound(bytes.data(), bytes.size(), output, {});
      ASSERT_NE(samples, nullptr);
      EXPECT_GT(samples->size(), 1000u);
    }
  }
}

// The members themselves, as the cast makes them from the rows over this file: every bitmap loads
// at its size with its regPoint, every field has its text, every sound loads.
TEST_F(GameMediaFile, EveryMemberLoads) {
  initValueModel();
  {
    Cast cast(media);
    CastRows media_rows = rows;
    media_rows.scripts = {};  // script members need the movie's script factory
    cast.createMembers(media_rows);
    for (const BitmapRow& row : rows.bitmaps) {
      CastMember* member = cast.find(memberKey(row.number, row.castLib));
      ASSERT_NE(member, nullptr) << row.number;
      EXPECT_TRUE(member->load()) << row.number;
      EXPECT_EQ(member->width(), row.width) << row.number;
      EXPECT_EQ(member->height(), row.height) << row.number;
      EXPECT_EQ(member->regPoint().x, row.regX) << row.number;
      EXPECT_EQ(member->regPoint().y, row.regY) << row.number;
    }
    for (const SoundRow& row : rows.sounds) {
      CastMember* member = cast.find(memberKey(row.number, row.castLib));
      ASSERT_NE(member, nullptr) << row.name;
      EXPECT_TRUE(member->load()) << row.name;
    }
    auto textOfField = [&](std::string_view name) {
      Value text;
      cast.findByName(name)->getProperty(text, sym::text);
      return textOf(text);
    };
    EXPECT_EQ(textOfField("closest"), "Todays Record:");
    EXPECT_EQ(textOfField("naam4a"), "Vessa");
    EXPECT_EQ(textOfField("gameTxt"), "");
    // Numbers the cast leaves out stay empty members.
    for (int32_t absent : {19, 45, 165}) EXPECT_EQ(cast.find(memberKey(absent, 1)), nullptr) << absent;
    cast.unloadAll(true);
  }
  shutdownValueModel();
}

// The menu picture carries its buttons exactly under the score's hot spots: start (channel 225),
// help (496) and quit (181) are drawn in green, blue and red faces.
TEST_F(GameMediaFile, MenuButtonsLieUnderTheirHotSpots) {
  const BitmapRow* menu = nullptr;
  for (const BitmapRow& row : rows.bitmaps)
    if (row.number == 15 && row.castLib == 1) menu = &row;
  ASSERT_NE(menu, nullptr);
  MemberBytes bytes = fetch(menu->offset, menu->packedSize, menu->unpackedSize);
  DecodedImage image;
  ASSERT_TRUE(decodeImageBlob(bytes.data(), bytes.size(), menu->storedFormat, {}, image));
  ASSERT_EQ(image.bitsPerPixel(), 32);
  auto rgb = [&](int x, int y) {
    const uint8_t* pixel = image.row(y) + x * 4;
    return std::array<int, 3>{pixel[2], pixel[1], pixel[0]};
  };
  struct Spot {
    int left, top, width, height;
    int channel;  // 0 red, 1 green, 2 blue: the colour that must dominate the button's face
  };
  const Spot spots[] = {{77, 133, 89, 35, 1}, {76, 180, 89, 38, 2}, {103, 228, 35, 22, 0}};
  for (const Spot& spot : spots) {
    SCOPED_TRACE(spot.left);
    // Sample the face away from the lettering: a band just inside the left and right ends.
    for (int y = spot.top + spot.height / 3; y < spot.top + spot.height * 2 / 3; ++y) {
      for (int x : {spot.left + 3, spot.left + spot.width - 4}) {
        const auto color = rgb(x, y);
        for (int other = 0; other < 3; ++other)
          if (other != spot.channel) {
            EXPECT_GT(color[spot.channel], color[other] + 20) << x << "," << y;
          }
      }
    }
  }
}

// The finer media sets the build packs beside the file: each attaches to the cast the rows make
// over it, and every bitmap shows its own picture from the set at that scale (a picture that did
// not load would say so in the debug log), keyed like its own.
std::vector<std::string> errorLines;

TEST_F(GameMediaFile, FinerSetsGiveEveryBitmapItsOwnPicture) {
  initValueModel();
  errorLines.clear();
  setErrorSink([](std::string_view line) { errorLines.emplace_back(line); });
  {
    Cast cast(media);
    CastRows media_rows = rows;
    media_rows.scripts = {};
    cast.createMembers(media_rows);
    for (int32_t scale = 2; scale <= 4; ++scale) {
      auto set = std::make_unique<MediaFile>();
      const std::string path = scaledMediaFileName(BOULES_MEDIA_FILE, scale);
      ASSERT_TRUE(set->bindFile(path)) << path;
      ASSERT_TRUE(cast.attachScaledMedia(scale, std::move(set), path));
      ASSERT_TRUE(cast.scaledMedia(scale));
      for (const BitmapRow& row : rows.bitmaps) {
        auto* member = dynamic_cast<BitmapMember*>(cast.find(memberKey(row.number, row.castLib)));
        ASSERT_TRUE(member->load());
        ImageBuffer* picture = member->pictureAt(scale);
        ASSERT_TRUE(picture) << row.number;
        EXPECT_EQ(picture->width(), scale * row.width);
        EXPECT_EQ(picture->height(), scale * row.height);
        // The finer matte keys out what the member's own does, but for the drawing's edges.
        int32_t differ = 0;
        for (int32_t y = 0; y < row.height; ++y)
          for (int32_t x = 0; x < row.width; ++x)
            differ += matteIsBackground(*member->matte(), x, y) !=
                      matteIsBackground(*member->matteAt(scale), x * scale + scale / 2, y * scale + scale / 2);
        EXPECT_LE(differ, 2 * (row.width + row.height)) << "member " << row.number << " at " << scale << "x";
      }
    }
    cast.unloadAll(true);
  }
  setErrorSink(nullptr);
  EXPECT_EQ(errorLines, std::vector<std::string>());
  shutdownValueModel();
}

}  // namespace
}  // namespace qn
