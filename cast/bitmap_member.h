// A bitmap: an image buffer decoded from the media file (a BMP file image, or a JPEG, PNG or GIF
// file image with its alpha mask in a second blob) or from a file named by the member's
// filename, with its registration point and the matte mask made on demand. For a finer screen
// it also shows a picture k times larger: its own from the cast's media set of that scale, else
// its image enlarged smoothly.
//
// Invariants: while loaded the member holds an image and width, height and depth describe it;
// the matte and the finer picture with its matte always belong to the current image (they are
// dropped whenever the image changes). Width, height, regPoint, hit tests and mattes of the
// member are the image's; the finer picture only ever changes what is shown.
#pragma once

#include <optional>
#include <string>

#include "cast/cast_member_base.h"
#include "cast/cast_rows.h"
#include "cast/decoded_image.h"
#include "cast/scaled_media_format.h"
#include "gfx/image_buffer.h"
#include "gfx/image_owner.h"
#include "script/quad.h"

namespace qn {

class MediaFile;
class ScaledMediaSet;

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
  // The picture shown at presentation scale `scale` (1 to 4): at 1 the member's image(); above it the
  // member's own picture from that scale's media set, else image() scaled smoothly (made once).
  // Null without an image, or when memory is too short to make the picture (drawInto then
  // enlarges the image as it draws). Counted in the cast's purge like the image.
  ImageBuffer* pictureAt(int32_t scale);
  // The matte of pictureAt(scale), made on demand (the 1x matte at scale 1).
  ImageBuffer* matteAt(int32_t scale);
  // pictureAt(scale) in `format` (a 16-bit stage's), for drawing with the plain copy ink, where
  // both give the same pixels: made once beside the picture when the picture has 24 or 32 bits
  // without alpha, so a full-screen copy moves half the bytes; else the picture itself.
  ImageBuffer* pictureForCopyAt(int32_t scale, PixelFormat format);
  // Lets go of the finer picture and its matte (the media sets changed).
  void dropScaledPicture();
  // Whether the member shows a finer picture at `scale` now (one was drawn, none dropped since).
  bool drawnAt(int32_t scale) const { return !picture_.isVoid() && pictureScale_ == scale; }
  // The picture `set` has for this member, as pictureAt makes it once the set is attached; void
  // when the member is not loaded or the set has none for it (a damaged one said once).
  Value pictureReadyFrom(const ScaledMediaSet& set);
  // Shows `picture`, made by pictureReadyFrom from the set just attached, from now on; dropped
  // when the member's image changed meanwhile.
  void takeScaledPicture(int32_t scale, Value picture);
  // Why a finer set's picture cannot stand for this member's, or empty: it must be `scale` times
  // the size of the member's own media picture. Members that show another picture than their
  // media's (set by a script, read from a file) never use the set, so anything passes for them.
  std::string scaledPictureProblem(const ScaledPicture& picture, int32_t scale) const;
  int32_t depth() const { return depth_; }
  bool useAlpha() const { return useAlpha_; }

  // Draws the image into the stage (or the stage composed at the look's scale) through the image
  // of `maskSource` (the mask ink's member, placed by both regPoints), or through the matte when
  // `useMatte` is set. Both members are held meanwhile (member_hold.h).
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
  // The image and alpha blobs decoded and merged as the member's depth and useAlpha say.
  Value decodeBlobs(const MediaFile& media, const BitmapBlobs& blobs, LoadFailure& failure) const;
  Value loadFromFile() const;
  Value withAlphaMerged(Value decoded, const ImageBuffer& mask) const;
  // The finer picture of `image` from `set` (the set of `scale`, or none), or void (the failure
  // said once).
  Value pictureFromSet(const ScaledMediaSet* set, int32_t scale, const ImageBuffer& image);
  bool showsMediaPicture() const { return filename_.empty() && !modified() && blobs_.unpackedSize > 0; }
  void adoptImage(Value image);
  void dropImage();
  void recentre();
  // The depth code 16 stands for: 5-6-5 when the movie prefers it.
  int32_t sixteenBitCode() const;

  Value image_;
  Value matte_;
  Value picture_;  // the finer picture of pictureScale_, made under the sets of pictureGeneration_
  Value pictureMatte_;
  Value pictureForCopy_;  // the finer picture in a 16-bit stage's format
  int32_t pictureScale_ = 1;
  uint32_t pictureGeneration_ = 0;
  bool setFailureReported_ = false;
  std::string filename_;
  int32_t depth_, width_, height_;
  int32_t regX_, regY_;
  bool useAlpha_;
  int32_t matteAlphaThreshold_;
  BitmapBlobs blobs_;
};

// A decoded image as an image buffer (palette registered with the shared palettes); null when
// memory is short.
ImageBuffer* imageBufferFrom(const DecodedImage& decoded);

}  // namespace qn
