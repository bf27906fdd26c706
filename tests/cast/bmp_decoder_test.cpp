#include <gtest/gtest.h>

#include "cast/bmp_decoder.h"
#include "cast/image_blob.h"
#include "tools/qmftool/bmp_writer.h"

namespace qn {
namespace {

// A BMP image with chosen header fields, for forms the packer never writes.
struct BmpLayout {
  int32_t width, height;
  uint16_t bits;
  uint32_t compression;
  uint32_t colorsUsed;
  std::vector<uint32_t> masks;    // written right after the 40-byte header
  std::vector<uint32_t> palette;  // B, G, R, 0 words
};

void put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> makeBmp(const BmpLayout& layout, uint8_t fill = 0x5A) {
  auto stride = static_cast<uint32_t>(paddedRowBytes(layout.bits, layout.width));
  uint32_t pixelOffset = 54 + 4 * static_cast<uint32_t>(layout.masks.size() + layout.palette.size());
  std::vector<uint8_t> out;
  put(out, 19778, 2);
  put(out, pixelOffset + stride * layout.height, 4);
  put(out, 0, 4);
  put(out, pixelOffset, 4);
  put(out, 40, 4);
  put(out, static_cast<uint32_t>(layout.width), 4);
  put(out, static_cast<uint32_t>(layout.height), 4);
  put(out, 1, 2);
  put(out, layout.bits, 2);
  put(out, layout.compression, 4);
  put(out, stride * layout.height, 4);
  put(out, 0, 4);
  put(out, 0, 4);
  put(out, layout.colorsUsed, 4);
  put(out, 0, 4);
  for (uint32_t mask : layout.masks) put(out, mask, 4);
  for (uint32_t entry : layout.palette) put(out, entry, 4);
  out.insert(out.end(), stride * layout.height, fill);
  return out;
}

TEST(BmpDecoderTest, DepthsPalettesAndBitFields) {
  DecodedImage image;
  BmpLayout onebit{9, 3, 1, 0, 0, {}, {0x000000, 0x00FF8040}};
  ASSERT_EQ(decodeBmp(makeBmp(onebit).data(), makeBmp(onebit).size(), image), BmpStatus::ok);
  EXPECT_EQ(image.depthCode, 1);
  EXPECT_EQ(image.stride, 4);
  ASSERT_EQ(image.palette.size(), 2u);
  EXPECT_EQ(image.palette[1], 0xFFFF8040u);

  // colorsUsed shorter than the depth's palette: the rest stays opaque black.
  BmpLayout fourbit{3, 1, 4, 0, 2, {}, {0x112233, 0x445566}};
  std::vector<uint8_t> bytes = makeBmp(fourbit);
  ASSERT_EQ(decodeBmp(bytes.data(), bytes.size(), image), BmpStatus::ok);
  ASSERT_EQ(image.palette.size(), 16u);
  EXPECT_EQ(image.palette[1], 0xFF445566u);
  EXPECT_EQ(image.palette[2], 0xFF000000u);

  BmpLayout rgb565{3, 2, 16, 3, 0, {0xF800, 0x07E0, 0x001F}, {}};
  bytes = makeBmp(rgb565);
  ASSERT_EQ(decodeBmp(bytes.data(), bytes.size(), image), BmpStatus::ok);
  EXPECT_EQ(image.depthCode, -16);
  EXPECT_EQ(image.stride, 8);
  BmpLayout rgb555 = rgb565;
  rgb555.masks = {0x7C00, 0x03E0, 0x001F};
  bytes = makeBmp(rgb555);
  ASSERT_EQ(decodeBmp(bytes.data(), bytes.size(), image), BmpStatus::ok);
  EXPECT_EQ(image.depthCode, 16);

  // Rows stay bottom-up: the first stored row is the bottom one.
  const uint8_t rgba[] = {1, 2, 3, 4, 5, 6, 7, 8};  // top pixel, bottom pixel
  bytes = qmftool::writeBmp32(rgba, 1, 2);
  ASSERT_EQ(decodeBmp(bytes.data(), bytes.size(), image), BmpStatus::ok);
  EXPECT_EQ(image.depthCode, 32);
  EXPECT_EQ(image.pixels[0], 7);  // blue of the bottom pixel, stored first
  EXPECT_EQ(image.row(0)[2], 1);  // red of the top pixel
}

TEST(BmpDecoderTest, DamagedHeadersFailWithoutReadingOutside) {
  BmpLayout layout{4, 4, 8, 0, 0, {}, std::vector<uint32_t>(256, 0)};
  const std::vector<uint8_t> good = makeBmp(layout);
  DecodedImage image;
  ASSERT_EQ(decodeBmp(good.data(), good.size(), image), BmpStatus::ok);

  auto damaged = [&](size_t at, uint32_t value, int bytes) {
    std::vector<uint8_t> copy(good.begin(), good.begin() + at);
    put(copy, value, bytes);
    copy.insert(copy.end(), good.begin() + at + bytes, good.end());
    return copy;
  };
  const std::vector<std::vector<uint8_t>> cases = {
      damaged(0, 0x4D42 + 1, 2),        // type
      damaged(10, 0xFFFFFFF0, 4),       // pixel offset far past the end
      damaged(10, 1100, 4),             // pixel offset leaving too few bytes for stride x height
      damaged(14, 12, 4),               // an old-style header size
      damaged(18, 0x7FFFFFFF, 4),       // width
      damaged(18, 0, 4),                // width 0
      damaged(22, 0x40000000, 4),       // height
      damaged(22, 0xFFFFFFFC, 4),       // top-down rows
      damaged(26, 2, 2),                // planes
      damaged(28, 7, 2),                // bit count
      damaged(30, 1, 4),                // run-length compression
      damaged(30, 3, 4),                // bit fields on an 8-bit image
      damaged(46, 257, 4),              // palette count above 256
      damaged(46, 0x40000000, 4),       // palette count that would overflow
  };
  for (size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(decodeBmp(cases[i].data(), cases[i].size(), image), BmpStatus::malformed) << "case " << i;

  for (size_t length : {size_t(0), size_t(14), size_t(53), size_t(54 + 1023), good.size() - 1})
    EXPECT_EQ(decodeBmp(good.data(), length, image), BmpStatus::malformed) << "length " << length;

  BmpLayout masksMissing{1, 1, 16, 3, 0, {}, {}};
  std::vector<uint8_t> truncated = makeBmp(masksMissing);
  truncated.resize(56);
  EXPECT_EQ(decodeBmp(truncated.data(), truncated.size(), image), BmpStatus::malformed);
}

TEST(BmpDecoderTest, ImageBlobsByStoredFormat) {
  const uint8_t rgba[] = {255, 0, 0, 255};
  std::vector<uint8_t> bmp = qmftool::writeBmp32(rgba, 1, 1);
  DecodedImage image;
  EXPECT_TRUE(decodeImageBlob(bmp.data(), bmp.size(), kStoredBmp, nullptr, image));
  // A BMP is no file image for the decoder service, and arbitrary bytes are neither.
  EXPECT_FALSE(decodeImageBlob(bmp.data(), bmp.size(), kStoredFileImage, nullptr, image));
  const uint8_t junk[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0};
  EXPECT_FALSE(decodeImageBlob(junk, sizeof junk, kStoredFileImage, nullptr, image));
  EXPECT_FALSE(decodeImageBlob(nullptr, 0, kStoredBmp, nullptr, image));
}

}  // namespace
}  // namespace qn
