#include <gtest/gtest.h>

#include "cast/media_file.h"
#include "platform/platform.h"
#include "tests/cast/media_test_support.h"

namespace qn {
namespace {

using testing::bytesOf;
using testing::MediaBuilder;

struct Dialog {
  std::string text, caption;
  platform::MessageBoxButtons buttons;
};
std::vector<Dialog> dialogs;
platform::MessageBoxAnswer nextAnswer = platform::MessageBoxAnswer::no;

class MediaFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs.clear();
    platform::setMessageBoxHandler([](std::string_view text, std::string_view caption,
                                      platform::MessageBoxButtons buttons) {
      dialogs.push_back({std::string(text), std::string(caption), buttons});
      return buttons == platform::MessageBoxButtons::ok ? platform::MessageBoxAnswer::ok : nextAnswer;
    });
  }
  void TearDown() override { platform::setMessageBoxHandler(nullptr); }
};

TEST_F(MediaFileTest, SizeZeroSkipsEveryCheck) {
  MediaFile unbound;
  EXPECT_EQ(unbound.validate(0, "MyMovie.qmf"), MediaCheck::accepted);
  std::vector<uint8_t> foreign = bytesOf("not a media file at all");
  MediaFile bound;
  bound.bindBytes(foreign.data(), foreign.size());
  EXPECT_EQ(bound.validate(0, "MyMovie.qmf"), MediaCheck::accepted);
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(MediaFileTest, MissingFileAsksWhetherToContinue) {
  MediaFile media;
  media.bind("no such file.qmf");
  EXPECT_FALSE(media.isBound());
  nextAnswer = platform::MessageBoxAnswer::no;
  EXPECT_EQ(media.validate(1253118, "no such file.qmf"), MediaCheck::missing);
  nextAnswer = platform::MessageBoxAnswer::yes;
  EXPECT_EQ(media.validate(1253118, "no such file.qmf"), MediaCheck::accepted);
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0].text, "Failed to find mediaFile: no such file.qmf\r\nContinue playback?");
  EXPECT_EQ(dialogs[0].caption, "Missing Mediafile");
  EXPECT_EQ(dialogs[0].buttons, platform::MessageBoxButtons::yesNo);
  EXPECT_FALSE(media.fetchMemberData(4, 10, 10));
}

TEST_F(MediaFileTest, RightLengthWithBadTrailerCloses) {
  MediaBuilder builder;
  builder.stored(bytesOf("payload"));
  std::vector<uint8_t> data = builder.finish();
  MediaFile media;
  media.bindBytes(data.data(), data.size());
  EXPECT_EQ(media.validate(static_cast<int32_t>(data.size()), "MyMovie.qmf"), MediaCheck::accepted);

  // Each trailer rule on its own: the outer bits, then the middle's divisibility by 37.
  for (uint32_t flip : {0x00000001u, 0x00000100u}) {
    std::vector<uint8_t> damaged = data;
    uint32_t word = readLittleEndian32(&damaged[damaged.size() - 4]) ^ flip;
    for (int i = 0; i < 4; ++i) damaged[damaged.size() - 4 + i] = static_cast<uint8_t>(word >> (8 * i));
    media.bindBytes(damaged.data(), damaged.size());
    dialogs.clear();
    nextAnswer = platform::MessageBoxAnswer::yes;
    EXPECT_EQ(media.validate(static_cast<int32_t>(damaged.size()), "MyMovie.qmf"), MediaCheck::invalid);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "Invalid Mediafile.  Application is aborting.");
    EXPECT_EQ(dialogs[0].caption, "Invalid Mediafile");
    EXPECT_EQ(dialogs[0].buttons, platform::MessageBoxButtons::ok);
  }
  std::vector<uint8_t> badMagic = data;
  badMagic[0] = 'X';
  media.bindBytes(badMagic.data(), badMagic.size());
  EXPECT_EQ(media.validate(static_cast<int32_t>(badMagic.size()), "MyMovie.qmf"), MediaCheck::invalid);
  std::vector<uint8_t> tiny = {'Q', 'M', 'F'};
  media.bindBytes(tiny.data(), tiny.size());
  EXPECT_EQ(media.validate(3, "MyMovie.qmf"), MediaCheck::invalid);
}

TEST_F(MediaFileTest, WrongSizeAsksWithBothNumbers) {
  MediaBuilder builder;
  builder.stored(bytesOf("abc"));
  std::vector<uint8_t> data = builder.finish();
  MediaFile media;
  media.bindBytes(data.data(), data.size());
  nextAnswer = platform::MessageBoxAnswer::yes;
  EXPECT_EQ(media.validate(1253118, "MyMovie.qmf"), MediaCheck::accepted);
  nextAnswer = platform::MessageBoxAnswer::no;
  EXPECT_EQ(media.validate(1253118, "MyMovie.qmf"), MediaCheck::wrongSize);
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0].text, "Mediafile size (" + std::to_string(data.size()) +
                                 ") does not match expected size (1253118)\r\nContinue playback?");
  EXPECT_EQ(dialogs[0].caption, "Wrong Mediafile");
}

TEST_F(MediaFileTest, ExternalFileIsMappedAndFoundBesideTheProgram) {
  MediaBuilder builder;
  builder.stored(bytesOf("mapped"));
  std::vector<uint8_t> data = builder.finish();
  std::string name = "media_file_test.qmf";
  ASSERT_TRUE(platform::writeWholeFile(programRelativePath(name), data.data(), data.size()));
  MediaFile media;
  EXPECT_EQ(media.open(name, static_cast<int64_t>(data.size())), MediaCheck::accepted);
  ASSERT_TRUE(media.isBound());
  EXPECT_EQ(media.length(), data.size());
  MediaFile byFullPath;
  byFullPath.bind(programRelativePath(name));
  EXPECT_TRUE(byFullPath.isBound());
  EXPECT_EQ(programRelativePath("\\media\\x.qmf"), "/media/x.qmf");
  std::remove(programRelativePath(name).c_str());
}

TEST(MediaFetchTest, StoredInPlaceCompressedInflated) {
  MediaBuilder builder;
  std::vector<uint8_t> text = bytesOf("The quick brown fox, the quick brown fox, the quick brown fox");
  MediaBuilder::Blob stored = builder.stored(text);
  MediaBuilder::Blob compressed = builder.compressed(text);
  std::vector<uint8_t> data = builder.finish();
  MediaFile media;
  media.bindBytes(data.data(), data.size());

  MemberBytes inPlace = media.fetchMemberData(stored.offset, stored.packed, stored.unpacked);
  ASSERT_TRUE(inPlace);
  EXPECT_FALSE(inPlace.ownsBuffer());
  EXPECT_EQ(inPlace.data(), data.data() + stored.offset);

  MemberBytes inflated = media.fetchMemberData(compressed.offset, compressed.packed, compressed.unpacked);
  ASSERT_TRUE(inflated);
  EXPECT_TRUE(inflated.ownsBuffer());
  EXPECT_EQ(std::vector<uint8_t>(inflated.data(), inflated.data() + inflated.size()), text);

  // Sizes that differ by one byte mean "compressed": raw text is no zlib stream, so it fails.
  EXPECT_FALSE(media.fetchMemberData(stored.offset, stored.packed, stored.unpacked + 1));
  // An unpacked size of 0 gives nothing even with a packed size.
  EXPECT_FALSE(media.fetchMemberData(stored.offset, stored.packed, 0));
  EXPECT_FALSE(media.fetchMemberData(stored.offset, 0, 0));
  // A stream that ends before the unpacked size is damaged too.
  EXPECT_FALSE(media.fetchMemberData(compressed.offset, compressed.packed, compressed.unpacked + 1));
}

TEST(MediaFetchTest, RangesOutsideTheDataGiveNothing) {
  MediaBuilder builder;
  MediaBuilder::Blob blob = builder.stored(bytesOf("0123456789"));
  std::vector<uint8_t> data = builder.finish();
  MediaFile media;
  media.bindBytes(data.data(), data.size());
  auto length = static_cast<int32_t>(data.size());
  EXPECT_TRUE(media.fetchMemberData(0, length, length));
  EXPECT_FALSE(media.fetchMemberData(1, length, length));
  EXPECT_FALSE(media.fetchMemberData(-1, 4, 4));
  EXPECT_FALSE(media.fetchMemberData(length, 1, 1));
  EXPECT_FALSE(media.fetchMemberData(blob.offset, -5, 10));
  EXPECT_FALSE(media.fetchMemberData(INT32_MAX, INT32_MAX, INT32_MAX));
  // A claimed expansion no zlib stream can reach is refused before anything is allocated.
  EXPECT_FALSE(media.fetchMemberData(blob.offset, 2, INT32_MAX));
}

TEST(MediaFetchTest, FailedAllocationPurgesOnceAndRetries) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reports impossible allocations instead of failing them";
#endif
  int purges = 0;
  size_t asked = 0;
  PurgeMembers purge = [&](size_t bytes) {
    ++purges;
    asked = bytes;
  };
  EXPECT_TRUE(allocateWithPurge(64, purge));
  EXPECT_EQ(purges, 0);
  constexpr size_t kImpossible = size_t(1) << 50;
  EXPECT_FALSE(allocateWithPurge(kImpossible, purge));
  EXPECT_EQ(purges, 1);
  EXPECT_EQ(asked, kImpossible * 2);
}

}  // namespace
}  // namespace qn
