// The image buffer: every pixel of the runtime lives in one (the stage, member images and masks,
// rendered texts, script images). Scripts see it as #intImage and through image objects.
//
// Invariants:
//   - rows are stored bottom-up, `stride` bytes each (padded to 32-bit words); row y starts at
//     topRow + y * rowStep, with rowStep = -stride;
//   - a buffer with width or height 0 has no pixel memory;
//   - indexed formats always have a palette (1-bit ones the black-and-white palette), the others
//     none;
//   - the clip rect lies inside the image; drawing never touches a pixel outside it;
//   - useAlpha is only ever set on 32-bit buffers.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/palette.h"
#include "gfx/pixel_format.h"
#include "gfx/pixel_rect.h"
#include "script/method_table.h"
#include "script/value.h"

namespace qn {

// Pixel memory, word aligned so 16- and 32-bit rows can be read as such.
using PixelMemory = std::unique_ptr<uint32_t[]>;

class ImageBuffer final : public ScriptObject {
 public:
  // Depth codes outside 1, 2, 4, 8, 16, -16, 24 give a 32-bit image; a non-zero alpha request
  // makes a 32-bit image use its alpha bytes. Pixels start zeroed. Null when the memory could not
  // be had even after one purge of decoded members.
  static ImageBuffer* create(int32_t width, int32_t height, int32_t depthCode, int32_t alphaRequest = 0,
                             int32_t paletteId = palette_id::grayscale, const Value& owner = Value());
  // Takes over rows that a decoder produced in this layout (bottom-up, strideFor bytes per row).
  // Bit counts other than 1, 2, 4, 8, 16 and 24 are taken as 32.
  static ImageBuffer* wrapDecoded(int32_t width, int32_t height, int32_t bitCount, PixelMemory pixels,
                                  const Value& owner = Value());
  // Memory for `wrapDecoded`, zeroed; null on failure (after one purge and retry).
  static PixelMemory allocatePixels(PixelFormat format, int32_t width, int32_t height);

  // A new buffer of the rect's size (the rect is first cut to the image) with the same depth code,
  // alpha request and palette. Null when the rect is empty or memory is short.
  ImageBuffer* duplicateRect(const PixelRect& rect) const;

  PixelFormat format() const { return format_; }
  int32_t depthCode() const { return depthCodeOf(format_); }
  int32_t depth() const { return bitsPerPixel(format_); }  // as scripts see it: -16 reads 16
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  PixelRect bounds() const { return {0, 0, width_, height_}; }
  int32_t stride() const { return stride_; }
  int32_t rowStep() const { return -stride_; }
  bool hasPixels() const { return pixels_ != nullptr; }

  uint8_t* row(int32_t y) { return topRow_ - static_cast<ptrdiff_t>(y) * stride_; }
  const uint8_t* row(int32_t y) const { return topRow_ - static_cast<ptrdiff_t>(y) * stride_; }
  // Start of the stored memory (the bottom row).
  uint8_t* storage() { return reinterpret_cast<uint8_t*>(pixels_.get()); }
  const uint8_t* storage() const { return reinterpret_cast<const uint8_t*>(pixels_.get()); }
  size_t storageBytes() const { return static_cast<size_t>(stride_) * static_cast<size_t>(height_); }

  int32_t alphaRequest() const { return alphaRequest_; }
  bool useAlpha() const { return useAlpha_; }
  void setUseAlpha(bool on) { useAlpha_ = on && format_ == PixelFormat::argb8888; }

  int32_t paletteId() const { return paletteId_; }
  const Palette* palette() const { return palette_; }
  // A palette read with the image (1-bit images keep black and white).
  void setPalette(const Palette& palette);

  const PixelRect& clipRect() const { return clip_; }
  void setClipRect(const PixelRect& rect) { clip_ = rect.intersected(bounds()); }
  void resetClipRect() { clip_ = bounds(); }

  bool noBorder() const { return noBorder_; }
  void setNoBorder(bool on) { noBorder_ = on; }

  bool locked() const { return locked_; }
  void setLocked(bool on) { locked_ = on; }

  // The member or movie the image belongs to, or void. A counted reference: an owner that holds
  // its image clears this when it lets the image go, so neither keeps the other alive.
  const Value& owner() const { return owner_; }
  void setOwner(const Value& owner) { owner_ = owner; }
  // Tells the owner that pixels inside the rect changed, unless the buffer is locked.
  void reportChange(const PixelRect& changed) const;

  // Byte-wise equality of two buffers of the same size and format.
  bool samePixels(const ImageBuffer& other) const;

  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  // The image methods scripts call (image_methods.cpp); an unhandled call leaves the result as
  // the caller gave it.
  static const MethodTable<ImageBuffer, bool>& methods();

 private:
  ImageBuffer(int32_t width, int32_t height, PixelFormat format, int32_t alphaRequest, int32_t paletteId,
              const Value& owner);
  void adoptPixels(PixelMemory pixels);

  Value owner_;
  PixelFormat format_;
  int32_t width_;
  int32_t height_;
  int32_t alphaRequest_;
  bool useAlpha_ = false;
  bool locked_ = false;
  bool noBorder_ = false;
  int32_t stride_;
  int32_t paletteId_;
  const Palette* palette_ = nullptr;
  PixelRect clip_;
  PixelMemory pixels_;
  uint8_t* topRow_ = nullptr;
};

// The buffer a value holds, or null.
inline ImageBuffer* imageBufferOf(const Value& value) {
  return value.is(sym::intImage) ? static_cast<ImageBuffer*>(value.object()) : nullptr;
}

}  // namespace qn
