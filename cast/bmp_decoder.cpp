#include "cast/bmp_decoder.h"

#include <algorithm>
#include <climits>
#include <new>

#include "cast/media_format.h"

namespace qn {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint16_t kBmpType = 19778;  // "BM"
constexpr uint32_t kPlain = 0;
constexpr uint32_t kBitFields = 3;
constexpr size_t kMasksOffset = kFileHeaderSize + kInfoHeaderSize;  // right after the 40 bytes

uint16_t read16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }
int32_t readSigned32(const uint8_t* bytes) { return static_cast<int32_t>(readLittleEndian32(bytes)); }

bool isSupportedDepth(uint16_t bits) {
  return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool isRgb565(const uint8_t* masks) {
  return readLittleEndian32(masks) == 0xF800 && readLittleEndian32(masks + 4) == 0x07E0 &&
         readLittleEndian32(masks + 8) == 0x001F;
}

}  // namespace

BmpStatus decodeBmp(const uint8_t* data, size_t size, DecodedImage& out) {
  if (!data || size < kFileHeaderSize + kInfoHeaderSize || read16(data) != kBmpType) return BmpStatus::malformed;
  const uint8_t* info = data + kFileHeaderSize;
  uint32_t pixelOffset = readLittleEndian32(data + 10);
  uint32_t infoSize = readLittleEndian32(info);
  int32_t width = readSigned32(info + 4);
  int32_t height = readSigned32(info + 8);
  uint16_t planes = read16(info + 12);
  uint16_t bits = read16(info + 14);
  uint32_t compression = readLittleEndian32(info + 16);
  uint32_t colorsUsed = readLittleEndian32(info + 32);

  if (infoSize != kInfoHeaderSize && infoSize != 108 && infoSize != 124) return BmpStatus::malformed;
  if (width <= 0 || height <= 0 || planes != 1 || !isSupportedDepth(bits)) return BmpStatus::malformed;
  if (compression != kPlain && !(compression == kBitFields && (bits == 16 || bits == 32))) return BmpStatus::malformed;

  int32_t depthCode = bits;
  if (compression == kBitFields) {
    if (!rangeIsInside(kMasksOffset, 12, size)) return BmpStatus::malformed;
    if (bits == 16 && isRgb565(data + kMasksOffset)) depthCode = -16;
  }

  std::vector<uint32_t> palette;
  if (bits <= 8) {
    uint32_t fullPalette = 1u << bits;
    uint32_t entries = colorsUsed ? colorsUsed : fullPalette;
    if (entries > 256) return BmpStatus::malformed;
    int64_t paletteOffset = int64_t(kFileHeaderSize) + infoSize;
    if (!rangeIsInside(paletteOffset, int64_t(entries) * 4, size)) return BmpStatus::malformed;
    palette.resize(fullPalette, 0xFF000000);
    for (uint32_t i = 0; i < entries && i < fullPalette; ++i) {
      const uint8_t* entry = data + paletteOffset + i * 4;
      palette[i] = 0xFF000000 | uint32_t(entry[2]) << 16 | uint32_t(entry[1]) << 8 | entry[0];
    }
  }

  int64_t stride = paddedRowBytes(bits, width);
  if (stride > INT32_MAX) return BmpStatus::malformed;
  int64_t pixelBytes = stride * height;  // both below 2^31: no overflow in 64 bits
  if (!rangeIsInside(pixelOffset, pixelBytes, size)) return BmpStatus::malformed;

  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[static_cast<size_t>(pixelBytes)]);
  if (!pixels) return BmpStatus::outOfMemory;
  std::copy(data + pixelOffset, data + pixelOffset + pixelBytes, pixels.get());

  out.width = width;
  out.height = height;
  out.depthCode = depthCode;
  out.stride = static_cast<int32_t>(stride);
  out.palette = std::move(palette);
  out.pixels = std::move(pixels);
  return BmpStatus::ok;
}

}  // namespace qn
