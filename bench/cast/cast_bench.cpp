// Loading costs of the cast: a full-screen bitmap member (fetch, inflate, BMP decode, image),
// its matte, and a field's text drawn into its box.
#include <benchmark/benchmark.h>

#include <zlib.h>

#include <vector>

#include "cast/bitmap_member.h"
#include "cast/bmp_decoder.h"
#include "cast/cast.h"
#include "cast/media_format.h"
#include "cast/text_drawing.h"
#include "gfx/matte_mask.h"
#include "gfx/shape_drawing.h"
#include "script/symbol_table.h"
#include "tools/qmftool/bmp_writer.h"

namespace qn {
namespace {

constexpr int32_t kWidth = 240, kHeight = 320;

// A full-screen picture: a white border around a gradient, like the game's backgrounds.
std::vector<uint8_t> screenBmp() {
  std::vector<uint8_t> rgba(kWidth * kHeight * 4, 255);
  for (int32_t y = 8; y < kHeight - 8; ++y)
    for (int32_t x = 8; x < kWidth - 8; ++x) {
      uint8_t* pixel = &rgba[(y * kWidth + x) * 4];
      pixel[0] = static_cast<uint8_t>(x);
      pixel[1] = static_cast<uint8_t>(y);
      pixel[2] = static_cast<uint8_t>(x ^ y);
    }
  return qmftool::writeBmp32(rgba.data(), kWidth, kHeight);
}

struct Media {
  std::vector<uint8_t> bytes = {'Q', 'M', 'F', '!'};
  BitmapRow row{};
  Media() {
    std::vector<uint8_t> bmp = screenBmp();
    uLongf packed = compressBound(static_cast<uLong>(bmp.size()));
    std::vector<uint8_t> stream(packed);
    compress2(stream.data(), &packed, bmp.data(), static_cast<uLong>(bmp.size()), 9);
    bytes.insert(bytes.end(), stream.begin(), stream.begin() + packed);
    uint32_t trailer = makeTrailerWord(1);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(trailer >> shift));
    row = BitmapRow{3, 1, kWidth, kHeight, 32, 120, 160, 0, 1, 0, 0, "", "", 4, static_cast<int32_t>(packed),
                    static_cast<int32_t>(bmp.size()), 0, 0, 0};
  }
};

void setUp() {
  static bool done = [] {
    initValueModel();
    SymbolTable::global().addBuiltins();
    return true;
  }();
  (void)done;
}

void BM_BmpDecodeFullScreen(benchmark::State& state) {
  std::vector<uint8_t> bmp = screenBmp();
  for (auto _ : state) {
    DecodedImage image;
    benchmark::DoNotOptimize(decodeBmp(bmp.data(), bmp.size(), image));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bmp.size()));
}
BENCHMARK(BM_BmpDecodeFullScreen);

void BM_BitmapMemberLoadFullScreen(benchmark::State& state) {
  setUp();
  Media media;
  MediaFile file;
  file.bindBytes(media.bytes.data(), media.bytes.size());
  Cast cast(file);
  auto* member = new BitmapMember(cast, media.row);
  cast.add(member);
  for (auto _ : state) {
    member->unload(true);
    benchmark::DoNotOptimize(member->load());
  }
}
BENCHMARK(BM_BitmapMemberLoadFullScreen);

void BM_MatteFullScreen(benchmark::State& state) {
  setUp();
  std::vector<uint8_t> bmp = screenBmp();
  DecodedImage decoded;
  decodeBmp(bmp.data(), bmp.size(), decoded);
  Value image = Value::adopt(imageBufferFrom(decoded));
  for (auto _ : state) {
    Value matte = Value::adopt(buildMatteMask(*imageBufferOf(image), 1));
    benchmark::DoNotOptimize(matte.object());
  }
}
BENCHMARK(BM_MatteFullScreen);

void BM_FieldTextInBox(benchmark::State& state) {
  setUp();
  Value target = Value::adopt(ImageBuffer::create(184, 15, -16));
  TextFormat format{"Tahoma", 12, "bold", 1, true, 0xFFFFFF, 0x000000};
  for (auto _ : state) drawTextInBox(*imageBufferOf(target), PixelRect{0, 0, 184, 15}, "Dael is next", format, 0);
}
BENCHMARK(BM_FieldTextInBox);

}  // namespace
}  // namespace qn
