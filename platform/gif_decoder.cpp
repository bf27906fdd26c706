// GIF through giflib, which reports damage by its return codes: the first image, drawn over the
// logical screen filled with its background colour (black without a global colour map), its
// transparent pixels leaving the background.
#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <new>

#include "platform/file_image_decoders.h"

namespace qn::platform {

namespace {

struct GifInput {
  const uint8_t* data;
  size_t size;
  size_t read;
};

int readBytes(GifFileType* gif, GifByteType* into, int count) {
  auto& input = *static_cast<GifInput*>(gif->UserData);
  const size_t taken = std::min(static_cast<size_t>(std::max(count, 0)), input.size - input.read);
  std::copy(input.data + input.read, input.data + input.read + taken, into);
  input.read += taken;
  return static_cast<int>(taken);
}

DecodeStatus failureOf(const GifFileType& gif) {
  return gif.Error == D_GIF_ERR_NOT_ENOUGH_MEM ? DecodeStatus::outOfMemory : DecodeStatus::unsupported;
}

void putColour(uint8_t* pixel, const GifColorType& colour) {
  pixel[0] = colour.Blue;
  pixel[1] = colour.Green;
  pixel[2] = colour.Red;
}

DecodeStatus drawFirstImage(GifFileType& gif, int transparent, DecodedPixels24& out) {
  if (DGifGetImageDesc(&gif) == GIF_ERROR) return failureOf(gif);
  const GifImageDesc& image = gif.Image;
  const ColorMapObject* colours = image.ColorMap != nullptr ? image.ColorMap : gif.SColorMap;
  if (colours == nullptr || !isDecodableSize(image.Width, image.Height)) return DecodeStatus::unsupported;
  std::unique_ptr<GifPixelType[]> line(new (std::nothrow) GifPixelType[static_cast<size_t>(image.Width)]);
  if (!line) return DecodeStatus::outOfMemory;
  // The file stores the rows in order, or interlaced in four passes: every 8th row from 0, every
  // 8th from 4, every 4th from 2, every 2nd from 1.
  constexpr int kInterlacedStart[] = {0, 4, 2, 1}, kInterlacedStep[] = {8, 8, 4, 2};
  const int passes = image.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int step = image.Interlace ? kInterlacedStep[pass] : 1;
    for (int y = image.Interlace ? kInterlacedStart[pass] : 0; y < image.Height; y += step) {
      if (DGifGetLine(&gif, line.get(), image.Width) == GIF_ERROR) return failureOf(gif);
      const int top = image.Top + y;
      if (top >= out.height) continue;
      uint8_t* row = out.rowFromTop(top);
      for (int x = 0; x < image.Width && image.Left + x < out.width; ++x)
        if (line[x] != transparent && line[x] < colours->ColorCount)
          putColour(row + 3 * (image.Left + x), colours->Colors[line[x]]);
    }
  }
  return DecodeStatus::ok;
}

DecodeStatus readGif(GifFileType& gif, DecodedPixels24& out) {
  if (!isDecodableSize(gif.SWidth, gif.SHeight)) return DecodeStatus::unsupported;
  if (!allocatePixels(out, gif.SWidth, gif.SHeight)) return DecodeStatus::outOfMemory;
  if (const ColorMapObject* global = gif.SColorMap;
      global != nullptr && gif.SBackGroundColor > 0 && gif.SBackGroundColor < global->ColorCount)
    for (int y = 0; y < out.height; ++y)
      for (int x = 0; x < out.width; ++x) putColour(out.rowFromTop(y) + 3 * x, global->Colors[gif.SBackGroundColor]);
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(&gif, &record) == GIF_ERROR) return failureOf(gif);
    if (record == IMAGE_DESC_RECORD_TYPE) return drawFirstImage(gif, transparent, out);
    if (record != EXTENSION_RECORD_TYPE) return DecodeStatus::unsupported;  // ends with no image
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(&gif, &code, &block) == GIF_ERROR) return failureOf(gif);
    GraphicsControlBlock control;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr &&
        DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
      transparent = control.TransparentColor;
    while (block != nullptr)
      if (DGifGetExtensionNext(&gif, &block) == GIF_ERROR) return failureOf(gif);
  }
}

}  // namespace

DecodeStatus decodeGif(const uint8_t* data, size_t size, DecodedPixels24& out) {
  GifInput input{data, size, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&input, readBytes, &error);
  if (gif == nullptr) return error == D_GIF_ERR_NOT_ENOUGH_MEM ? DecodeStatus::outOfMemory : DecodeStatus::unsupported;
  const DecodeStatus status = readGif(*gif, out);
  DGifCloseFile(gif, &error);
  return status;
}

}  // namespace qn::platform
