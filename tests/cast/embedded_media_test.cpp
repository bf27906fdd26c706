// A program with media linked in (boules_embed_media) takes it before any file beside it, and
// so for the finer media sets it links in.
#include <gtest/gtest.h>

#include <cstring>

#include "cast/media_file.h"
#include "platform/embedded_media.h"

namespace qn {
namespace {

TEST(EmbeddedMediaTest, EmbeddedDataComesFirst) {
  platform::EmbeddedMedia embedded = platform::embeddedMedia();
  ASSERT_NE(embedded.data, nullptr);
  ASSERT_EQ(embedded.size, 22u);
  EXPECT_EQ(std::memcmp(embedded.data, "QMF!embedded media", 18), 0);

  MediaFile media;
  EXPECT_EQ(media.open("no such file.qmf", 22), MediaCheck::accepted);
  EXPECT_EQ(media.data(), embedded.data);
  MemberBytes bytes = media.fetchMemberData(4, 8, 8);
  ASSERT_TRUE(bytes);
  EXPECT_FALSE(bytes.ownsBuffer());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()), "embedded");

  platform::EmbeddedMedia finer = platform::embeddedMedia(4);
  ASSERT_EQ(finer.size, 23u);
  EXPECT_EQ(std::memcmp(finer.data, "QMF!finer set at 4x", 19), 0);
  EXPECT_EQ(platform::embeddedMedia(2).data, nullptr);
  MediaFile set;
  set.bind("no such file.qmf", 4);
  EXPECT_EQ(set.data(), finer.data);
  set.bind("no such file.qmf", 2);
  EXPECT_FALSE(set.isBound());
}

}  // namespace
}  // namespace qn
