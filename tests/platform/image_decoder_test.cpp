// The image decoder service: each format's pictures become B, G, R rows; damaged or oversized
// ones are refused, never the end of the program.
#include <cstdio>  // jpeglib.h needs FILE

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>

#include <array>
#include <csetjmp>
#include <string>
#include <vector>

#include "platform/image_decoder.h"
#include "platform/image_encoder.h"

namespace qn::platform {
namespace {

using Bytes = std::vector<uint8_t>;

// 0xRRGGBB of a decoded pixel, y from the top.
uint32_t pixelOf(DecodedPixels24& image, int x, int y) {
  const uint8_t* at = image.rowFromTop(y) + 3 * x;
  return uint32_t{at[2]} << 16 | uint32_t{at[1]} << 8 | at[0];
}

// `width` x `height`, the left half red, the right half blue, as JPEG at full colour resolution.
Bytes jpegOf(int width, int height) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  for (int i = 0; i < 3; ++i) info.comp_info[i].h_samp_factor = info.comp_info[i].v_samp_factor = 1;
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  for (int x = 0; x < width; ++x) row[3 * x + (x < width / 2 ? 0 : 2)] = 255;
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  Bytes bytes(out, out + size);
  jpeg_destroy_compress(&info);
  std::free(out);
  return bytes;
}

// A 4 x 3 PNG of the colour type and depth given (grey, or palette with transparent entries),
// interlaced: its pixels are the grey levels or palette entries 0, 1, 2, ... row by row.
Bytes pngOf(int colourType, int depth) {
  Bytes bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &bytes, [](png_structp writer, png_bytep data, size_t size) {
    auto& out = *static_cast<Bytes*>(png_get_io_ptr(writer));
    out.insert(out.end(), data, data + size);
  }, nullptr);
  png_set_IHDR(png, info, 4, 3, depth, colourType, PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  const std::array<png_color, 4> palette{{{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}};
  const png_byte transparent[] = {0, 128};
  if (colourType == PNG_COLOR_TYPE_PALETTE) {
    png_set_PLTE(png, info, palette.data(), 4);
    png_set_tRNS(png, info, transparent, 2, nullptr);
  }
  png_write_info(png, info);
  const int passes = png_set_interlace_handling(png);
  std::array<std::array<png_byte, 8>, 3> rows{};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      const int value = (y * 4 + x) % (1 << std::min(depth, 2));
      if (depth == 16) rows[y][2 * x] = static_cast<png_byte>(value * 85);  // the high byte of each sample
      else rows[y][x * depth / 8] |= static_cast<png_byte>(value << (8 - depth - (x * depth) % 8));
    }
  for (int pass = 0; pass < passes; ++pass)
    for (auto& row : rows) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

// A 3 x 6 GIF whose background is green; its one image, 1 x 5 at (1, 1) and interlaced, has rows
// of palette entries 1, 2, 3, 0 (transparent) and 1 from the top.
Bytes gifOf(int screenWidth) {
  Bytes bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, [](GifFileType* file, const GifByteType* data, int size) {
    auto& out = *static_cast<Bytes*>(file->UserData);
    out.insert(out.end(), data, data + size);
    return size;
  }, &error);
  const GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, screenWidth, 6, 8, 2, map);
  const GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, 0};
  GifByteType extension[4];
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(EGifGCBToExtension(&control, extension)), extension);
  EGifPutImageDesc(gif, 1, 1, 1, 5, true, nullptr);
  const GifPixelType rows[5] = {1, 2, 3, 0, 1};
  for (const int y : {0, 4, 2, 1, 3}) EGifPutLine(gif, const_cast<GifPixelType*>(&rows[y]), 1);
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return bytes;
}

TEST(ImageDecoder, EachFormatBecomesBlueGreenRedRows) {
  DecodedPixels24 image;
  Bytes jpeg = jpegOf(16, 8);
  ASSERT_EQ(decodeImageFile(jpeg.data(), jpeg.size(), image), DecodeStatus::ok);
  ASSERT_EQ(image.width, 16);
  EXPECT_EQ(image.stride, 48);
  for (const auto& [x, colour] : {std::pair{2, 0xFE0000u}, std::pair{13, 0x0000FEu}})
    for (int channel = 0; channel < 24; channel += 8)
      EXPECT_NEAR(int(pixelOf(image, x, 4) >> channel & 0xFF), int(colour >> channel & 0xFF), 2) << x;

  const std::vector<uint8_t> rgba = {10, 20, 30, 0, 40, 50, 60, 255};
  const std::string png = encodePng(2, 1, rgba.data());
  ASSERT_EQ(decodeImageFile(reinterpret_cast<const uint8_t*>(png.data()), png.size(), image), DecodeStatus::ok);
  EXPECT_EQ(pixelOf(image, 0, 0), 0x0A141Eu) << "alpha dropped, colour kept";
  EXPECT_EQ(pixelOf(image, 1, 0), 0x28323Cu);
  for (const auto& [type, depth] : {std::pair{PNG_COLOR_TYPE_PALETTE, 2}, std::pair{PNG_COLOR_TYPE_GRAY, 16}}) {
    Bytes bytes = pngOf(type, depth);
    ASSERT_EQ(decodeImageFile(bytes.data(), bytes.size(), image), DecodeStatus::ok) << depth;
    const std::array<uint32_t, 4> expected = type == PNG_COLOR_TYPE_PALETTE
                                                 ? std::array<uint32_t, 4>{0x000000, 0xFF0000, 0x00FF00, 0x0000FF}
                                                 : std::array<uint32_t, 4>{0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF};
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(pixelOf(image, x, y), expected[(y * 4 + x) % 4]) << depth << ": " << x << "," << y;
  }

  Bytes gif = gifOf(3);
  ASSERT_EQ(decodeImageFile(gif.data(), gif.size(), image), DecodeStatus::ok);
  const std::array<uint32_t, 6> middle = {0x00FF00, 0xFF0000, 0x00FF00, 0x0000FF, 0x00FF00, 0xFF0000};
  for (int y = 0; y < 6; ++y) {
    EXPECT_EQ(pixelOf(image, 0, y), 0x00FF00u) << y;
    EXPECT_EQ(pixelOf(image, 1, y), middle[y]) << y;
  }
}

TEST(ImageDecoder, DamagedAndOversizedPicturesAreRefused) {
  DecodedPixels24 image;
  Bytes jpeg = jpegOf(16, 8), png = pngOf(PNG_COLOR_TYPE_PALETTE, 2), gif = gifOf(3);
  for (Bytes* file : {&jpeg, &png, &gif}) {
    const Bytes whole = *file;
    // Cut short, the picture is refused: no grey filling for what is missing.
    EXPECT_EQ(decodeImageFile(whole.data(), whole.size() - 8, image), DecodeStatus::unsupported) << whole.size();
    EXPECT_EQ(image.pixels, nullptr);
    // Any byte damaged in any way: refused or decoded, never a stop.
    for (size_t at = 0; at < whole.size(); ++at)
      for (const uint8_t damage : {0x01, 0x80, 0xFF}) {
        *file = whole;
        (*file)[at] ^= damage;
        decodeImageFile(file->data(), file->size(), image);
      }
  }
  for (const Bytes& large : {jpegOf(kLargestDecodedSide + 1, 1), gifOf(kLargestDecodedSide + 1)})
    EXPECT_EQ(decodeImageFile(large.data(), large.size(), image), DecodeStatus::unsupported);
  const std::vector<uint8_t> wide((kLargestDecodedSide + 1) * 4, 255);
  const std::string widePng = encodePng(kLargestDecodedSide + 1, 1, wide.data());
  EXPECT_EQ(decodeImageFile(reinterpret_cast<const uint8_t*>(widePng.data()), widePng.size(), image),
            DecodeStatus::unsupported);
}

}  // namespace
}  // namespace qn::platform
