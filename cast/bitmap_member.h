// A bitmap: an image buffer decoded from the media file (a BMP file image, or a JPEG, PNG or GIF
// file image with its alpha mask in a second blob) or from a file named by the member's
// filename, with its registration point and the matte mask made on demand.
//
// Invariants: while loaded the member holds an image and width, height and depth describe it;
// the matte always belongs to the current image (it is dropped whenever the image changes).
#pragma once

#include <optional>
#include <string>

#include "cast/cast_member_base.h"
#include "cast/cast_rows.h"
#include "cast/decoded_image.h"
#include "gfx/image_buffer.h"
#include "gfx/image_owner.h"
#include "script/quad.h"

namespace qn {

// How a bitmap sprite draws: the sprite's look, and its quad when it is drawn through one, at a
// presentation scale (the destination and quad already scaled).
struct BitmapDraw {
  int32_t scale = 1;
  PixelRect destination;
  int32_t ink = 0;
  int32_t blend = 255;
  uint32_t color = 0x000000;
  uint32_t bgColor = 0xFFFFFF;
  std::optional<Quad> quad;  // drawn through the quad instead of onto the rect
};

class BitmapMember final : public CastMemberBase, public ImageOwner {
 public:
  BitmapMember(Cast& cast, const BitmapRow& row);
  // An empty bitmap made at run time (`new(#bitmap)`): 0 x 0 at `depth`, no media.
  BitmapMember(Cast& cast, int32_t number, int32_t castLib, int32_t depth);
  ~BitmapMember() override;

  // The image after loading, or null.
  ImageBuffer* image() const { return imageBufferOf(image_); }
  // The matte, made now when missing; null without an image.
  ImageBuffer* matte();
  int32_t depth() const { return depth_; }
  bool useAlpha() const { return useAlpha_; }

  // Draws the image into the stage (or the stage composed at the look's scale) through the image
  // of `maskSource` (the mask ink's member, placed by both regPoints), or through the matte when
  // `useMatte` is set.
  void drawInto(ImageBuffer& target, const BitmapDraw& look, BitmapMember* maskSource, bool useMatte);

  // ImageOwner
  void imageChanged(const PixelRect& changed) override;

  // ScriptObject
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;

  // CastMember
  SpriteChannel* createSprite(Movie& movie, const SpanRef& span) override;
  bool load() override;
  bool unload(bool force) override;
  int32_t sizeEstimate() const override;
  int32_t width() const override { return width_; }
  int32_t height() const override { return height_; }
  IntPoint regPoint() const override { return {regX_, regY_}; }

 private:
  Value loadFromMedia(LoadFailure& failure);
  Value loadFromFile() const;
  Value withAlphaMerged(Value decoded, const ImageBuffer& mask) const;
  void adoptImage(Value image);
  void dropImage();
  void recentre();
  // The depth code 16 stands for: 5-6-5 when the movie prefers it.
  int32_t sixteenBitCode() const;

  Value image_;
  Value matte_;
  std::string filename_;
  int32_t depth_, width_, height_;
  int32_t regX_, regY_;
  bool useAlpha_;
  int32_t matteAlphaThreshold_;
  int32_t offset_ = 0, packedSize_ = 0, unpackedSize_ = 0;
  int32_t alphaPackedSize_ = 0, alphaUnpackedSize_ = 0;
  uint8_t storedFormat_ = 0;
};

// A decoded image as an image buffer (palette registered with the shared palettes); null when
// memory is short.
ImageBuffer* imageBufferFrom(const DecodedImage& decoded);

}  // namespace qn
