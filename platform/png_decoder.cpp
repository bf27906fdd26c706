// PNG through libpng: every colour type and depth becomes 8-bit B, G, R (a palette expanded, grey
// repeated, 16-bit samples cut to their high byte, alpha dropped: a member's alpha travels in a
// blob of its own). libpng reports an error by calling its error handler, which jumps back with
// longjmp: the jumping code is plain C in style, and what it needs afterwards lies outside the
// function that called setjmp.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>

#include "platform/file_image_decoders.h"

namespace qn::platform {

namespace {

struct PngDecoding {
  const uint8_t* data;
  size_t size;
  size_t read;
  png_structp png;
  png_infop info;
  bool outOfMemory;
};

PngDecoding& decodingOf(png_structp png) { return *static_cast<PngDecoding*>(png_get_error_ptr(png)); }

[[noreturn]] void stopDecoding(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignoreWarning(png_structp, png_const_charp) {}

png_voidp allocate(png_structp png, png_alloc_size_t bytes) {
  png_voidp memory = std::malloc(bytes);
  if (memory == nullptr) decodingOf(png).outOfMemory = true;
  return memory;
}
void release(png_structp, png_voidp memory) { std::free(memory); }

void readBytes(png_structp png, png_bytep into, size_t count) {
  PngDecoding& decoding = decodingOf(png);
  if (count > decoding.size - decoding.read) png_error(png, "the file ends early");
  std::copy(decoding.data + decoding.read, decoding.data + decoding.read + count, into);
  decoding.read += count;
}

// Returns with the read structures made or not; the caller destroys what was made.
DecodeStatus readPng(PngDecoding& decoding, DecodedPixels24& out) {
  decoding.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &decoding, stopDecoding, ignoreWarning, &decoding,
                                          allocate, release);
  if (decoding.png == nullptr) return DecodeStatus::outOfMemory;
  png_structp png = decoding.png;
  if (setjmp(png_jmpbuf(png)) != 0) return decoding.outOfMemory ? DecodeStatus::outOfMemory : DecodeStatus::unsupported;
  decoding.info = png_create_info_struct(png);
  if (decoding.info == nullptr) return DecodeStatus::outOfMemory;
  png_set_user_limits(png, kLargestDecodedSide, kLargestDecodedSide);
  png_set_read_fn(png, &decoding, readBytes);
  png_read_info(png, decoding.info);
  const png_uint_32 width = png_get_image_width(png, decoding.info);
  const png_uint_32 height = png_get_image_height(png, decoding.info);
  if (!isDecodableSize(width, height)) return DecodeStatus::unsupported;
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, decoding.info);
  if (png_get_rowbytes(png, decoding.info) != size_t(width) * 3) return DecodeStatus::unsupported;
  if (!allocatePixels(out, static_cast<int32_t>(width), static_cast<int32_t>(height))) return DecodeStatus::outOfMemory;
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, out.rowFromTop(static_cast<int32_t>(y)), nullptr);
  png_read_end(png, nullptr);
  return DecodeStatus::ok;
}

}  // namespace

DecodeStatus decodePng(const uint8_t* data, size_t size, DecodedPixels24& out) {
  PngDecoding decoding{data, size, 0, nullptr, nullptr, false};
  const DecodeStatus status = readPng(decoding, out);
  if (decoding.png != nullptr) png_destroy_read_struct(&decoding.png, decoding.info ? &decoding.info : nullptr, nullptr);
  return status;
}

}  // namespace qn::platform
