// A program with media linked in (boules_embed_media) takes it before any file beside it.
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
}

}  // namespace
}  // namespace qn
