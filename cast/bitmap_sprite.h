// The renderer of a bitmap sprite. Geometry: the member's box around its regPoint (the regPoint
// scaled with a stretched size), skewed, rotated about the regPoint, moved to the sprite's
// location and flipped; a sprite that is rotated, skewed or flipped draws and hits through its
// quad, and its rect is the quad's bounding box. Drawing chooses the mask by ink: none for copy
// and backgroundTransparent at full blend, the next member's image for `mask`, the member's
// matte for every other ink. Hit testing with the matte ink asks the matte, and so does
// `intersects` against a sprite drawn with the matte ink.
#pragma once

#include <optional>

#include "engine/sprite_channel.h"

namespace qn {

class BitmapMember;

class BitmapSprite final : public SpriteChannel {
 public:
  using SpriteChannel::SpriteChannel;

  bool hitTest(int32_t x, int32_t y) override;
  bool update(bool force) override;
  void draw(ScriptObject& target, int32_t scale) override;
  void computeGeometry() override;
  bool pixelsMeet(const SpriteChannel& matteSprite) const override;
  bool opaqueOver(const IntRect& area) const override;
  bool drawsNothing() const override { return blendLevel <= 0; }

 private:
  std::optional<IntPoint> memberPointAt(int32_t x, int32_t y) const;
  // Whether the member's matte marks the pixel under a stage point as not background.
  bool matteCovers(int32_t x, int32_t y) const;
  BitmapMember* bitmap() const;
  // The member that serves as mask for the `mask` ink: the next one in the same cast library.
  BitmapMember* maskMember() const;
};

}  // namespace qn
