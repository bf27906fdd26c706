#include "gfx/image_buffer.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <new>

#include "gfx/draw_image.h"
#include "gfx/image_owner.h"
#include "gfx/purge_service.h"

namespace qn {

namespace {

// Larger images than this are refused like a failed allocation: their byte counts would not fit
// the 32-bit sizes the rest of the pixel code works with.
constexpr uint64_t kMaxPixelBytes = uint64_t{1} << 30;

PixelMemory tryAllocate(uint64_t bytes) {
  if (bytes > kMaxPixelBytes) return nullptr;
  return PixelMemory(new (std::nothrow) uint32_t[bytes / 4]());
}

}  // namespace

PixelMemory ImageBuffer::allocatePixels(PixelFormat format, int32_t width, int32_t height) {
  // Counted from the 64-bit row: strideFor wraps for rows of 2^31 bytes or more (to 0 for 2^30
  // pixels of 32 bits), and a buffer sized by it would be written far past its end.
  const int64_t rowBytes = rowBytesFor(format, width);
  const uint64_t bytes = rowBytes >= 0 && rowBytes <= static_cast<int64_t>(kMaxPixelBytes) && height >= 0
                             ? static_cast<uint64_t>(rowBytes) * static_cast<uint64_t>(height)
                             : UINT64_MAX;
  if (PixelMemory memory = tryAllocate(bytes)) return memory;
  purgeForAllocation(static_cast<uint64_t>(bitsPerPixel(format)) * static_cast<uint64_t>(width) *
                     static_cast<uint64_t>(height) / 4);
  return tryAllocate(bytes);
}

ImageBuffer::ImageBuffer(int32_t width, int32_t height, PixelFormat format, int32_t alphaRequest,
                         int32_t paletteId, const Value& owner)
    : ScriptObject(sym::intImage),
      owner_(owner),
      format_(format),
      width_(width),
      height_(height),
      alphaRequest_(alphaRequest),
      useAlpha_(format == PixelFormat::argb8888 && alphaRequest != 0),
      stride_(strideFor(format, width)),
      paletteId_(paletteId),
      clip_{0, 0, width, height} {
  if (format == PixelFormat::indexed1) palette_ = &PaletteTable::blackAndWhite();
  else if (isIndexed(format)) palette_ = &PaletteTable::standard(paletteId);
}

void ImageBuffer::adoptPixels(PixelMemory pixels) {
  pixels_ = std::move(pixels);
  topRow_ = storage() + static_cast<ptrdiff_t>(height_ - 1) * stride_;
}

ImageBuffer* ImageBuffer::create(int32_t width, int32_t height, int32_t depthCode, int32_t alphaRequest,
                                 int32_t paletteId, const Value& owner) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const PixelFormat format = formatOfDepthCode(depthCode);
  auto* image = new ImageBuffer(width, height, format, alphaRequest, paletteId, owner);
  if (width == 0 || height == 0) return image;
  PixelMemory pixels = allocatePixels(format, width, height);
  if (!pixels) {
    image->release();
    return nullptr;
  }
  image->adoptPixels(std::move(pixels));
  return image;
}

ImageBuffer* ImageBuffer::wrapDecoded(int32_t width, int32_t height, int32_t bitCount, PixelMemory pixels,
                                      const Value& owner) {
  if (width <= 0 || height <= 0 || !pixels) return nullptr;
  const int32_t depthCode = bitCount == 1 || bitCount == 2 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                                    bitCount == 24
                                ? bitCount
                                : 32;
  auto* image = new ImageBuffer(width, height, formatOfDepthCode(depthCode), 0, palette_id::grayscale, owner);
  image->adoptPixels(std::move(pixels));
  return image;
}

void ImageBuffer::setPalette(const Palette& palette) {
  if (isIndexed(format_) && format_ != PixelFormat::indexed1) palette_ = &palette;
}

ImageBuffer* ImageBuffer::duplicateRect(const PixelRect& rect) const {
  const PixelRect part = rect.intersected(bounds());
  if (part.isEmpty()) return nullptr;
  ImageBuffer* copy = create(part.width(), part.height(), depthCode(), alphaRequest_, paletteId_);
  if (!copy) return nullptr;
  copy->palette_ = palette_;
  copy->useAlpha_ = useAlpha_;
  if (part == bounds()) {
    std::memcpy(copy->storage(), storage(), storageBytes());
  } else {
    BlitParams params;
    params.destinationRect = copy->bounds();
    params.sourceRect = part;
    drawImage(*copy, this, params);
  }
  return copy;
}

void ImageBuffer::reportChange(const PixelRect& changed) const {
  if (locked_ || owner_.isVoid()) return;
  if (auto* owner = dynamic_cast<ImageOwner*>(owner_.object())) owner->imageChanged(changed);
}

bool ImageBuffer::samePixels(const ImageBuffer& other) const {
  if (width_ != other.width_ || height_ != other.height_ || format_ != other.format_) return false;
  return !hasPixels() || std::memcmp(storage(), other.storage(), storageBytes()) == 0;
}

void ImageBuffer::toString(std::string& out) const {
  char text[40];
  std::snprintf(text, sizeof text, "<internal image:%" PRIxPTR ">", reinterpret_cast<uintptr_t>(this));
  out += text;
}

ScriptObject* ImageBuffer::duplicate() {
  if (ImageBuffer* copy = hasPixels() ? duplicateRect(bounds()) : nullptr) return copy;
  // Nothing to copy, or no memory for the copy: an image of no pixels, never a shared one.
  return new ImageBuffer(0, 0, format_, alphaRequest_, paletteId_, Value());
}

int ImageBuffer::compare(const Value& other, bool) const {
  if (other.object() == this) return kEqual;
  const ImageBuffer* buffer = imageBufferOf(other);
  return buffer && samePixels(*buffer) ? kEqual : kIncomparable;
}

}  // namespace qn
