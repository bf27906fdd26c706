// JPEG through libjpeg-turbo with the accurate integer DCT, so that every edition (SIMD or plain
// C, any processor) decodes the same pixels. libjpeg reports an error by calling its error
// handler, which must not return: it jumps back with longjmp. The jumping code is plain C in
// style: no object with a destructor lives in a frame the jump leaves, and what the handler
// changes lies outside the function that called setjmp.
#include <cstdio>  // jpeglib.h needs FILE

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>

#include "platform/file_image_decoders.h"

namespace qn::platform {

namespace {

// More scans than any real progressive picture has (ten or so): crafted files with thousands of
// tiny scans would otherwise keep the decoder busy for minutes.
constexpr int kMostScans = 256;

struct JpegDecoding {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  jpeg_progress_mgr progress;
  std::jmp_buf failed;
  bool outOfMemory;
};

JpegDecoding& decodingOf(j_common_ptr info) { return *static_cast<JpegDecoding*>(info->client_data); }

[[noreturn]] void stopDecoding(j_common_ptr info) {
  JpegDecoding& decoding = decodingOf(info);
  decoding.outOfMemory = info->err->msg_code == JERR_OUT_OF_MEMORY;
  std::longjmp(decoding.failed, 1);
}

// A warning is damage the library would paper over (a premature end, a bad Huffman code filled
// with grey): the picture is refused as a whole. Trace messages say nothing.
void judgeMessage(j_common_ptr info, int level) {
  if (level < 0) stopDecoding(info);
}

void watchScans(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMostScans) stopDecoding(info);
}

// Returns with `decoding.info` created, whatever happened; the caller destroys it.
DecodeStatus readJpeg(JpegDecoding& decoding, const uint8_t* data, size_t size, DecodedPixels24& out) {
  jpeg_decompress_struct& info = decoding.info;
  info.err = jpeg_std_error(&decoding.errors);
  decoding.errors.error_exit = stopDecoding;
  decoding.errors.emit_message = judgeMessage;
  info.client_data = &decoding;
  if (setjmp(decoding.failed) != 0)
    return decoding.outOfMemory ? DecodeStatus::outOfMemory : DecodeStatus::unsupported;
  jpeg_create_decompress(&info);
  decoding.progress.progress_monitor = watchScans;
  info.progress = &decoding.progress;
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return DecodeStatus::unsupported;
  if (!isDecodableSize(info.image_width, info.image_height)) return DecodeStatus::unsupported;
  info.out_color_space = JCS_EXT_BGR;
  info.dct_method = JDCT_ISLOW;
  jpeg_start_decompress(&info);
  if (info.output_width != info.image_width || info.output_height != info.image_height || info.output_components != 3)
    return DecodeStatus::unsupported;
  if (!allocatePixels(out, static_cast<int32_t>(info.output_width), static_cast<int32_t>(info.output_height)))
    return DecodeStatus::outOfMemory;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.rowFromTop(static_cast<int32_t>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return DecodeStatus::ok;
}

}  // namespace

DecodeStatus decodeJpeg(const uint8_t* data, size_t size, DecodedPixels24& out) {
  JpegDecoding decoding{};
  const DecodeStatus status = readJpeg(decoding, data, size, out);
  jpeg_destroy_decompress(&decoding.info);
  return status;
}

}  // namespace qn::platform
