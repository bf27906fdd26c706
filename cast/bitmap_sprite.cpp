#include "cast/bitmap_sprite.h"

#include <algorithm>
#include <cmath>

#include "cast/bitmap_member.h"
#include "cast/sprite_loading.h"
#include "engine/movie.h"
#include "gfx/ink.h"
#include "gfx/matte_mask.h"
#include "script/portable_trig.h"
#include "script/scalars.h"

namespace qn {

namespace {

// Degrees to radians with the pi of the original arithmetic (3.141592654).
constexpr double kDegreesToRadians = 0.017453292522222223;

// Corners beyond the integers (a location near their ends) saturate.
int32_t roundUp(float value) { return truncateToInteger(std::ceil(value)); }

}  // namespace

BitmapMember* BitmapSprite::bitmap() const { return dynamic_cast<BitmapMember*>(member); }

BitmapMember* BitmapSprite::maskMember() const {
  return dynamic_cast<BitmapMember*>(movie->cast().find(memberKey(member->number() + 1, member->castLib())));
}

bool BitmapSprite::update(bool force) { return updateAndLoad(*this, force); }

void BitmapSprite::computeGeometry() {
  if (quadMovesWithLoc) return;  // a script set the quad
  BitmapMember* shown = bitmap();
  if (!shown) {
    spriteRect = IntRect{};
    return;
  }
  quadMode = rotation != 0.0f || skew != 0.0f || flipH || flipV;
  int32_t w = shown->width(), h = shown->height();
  IntPoint reg = shown->regPoint();
  if (stretch) {
    reg.x = w ? static_cast<int32_t>(int64_t(reg.x) * width / w) : 0;
    reg.y = h ? static_cast<int32_t>(int64_t(reg.y) * height / h) : 0;
    w = width;
    h = height;
  }
  naturalWidth = w;
  naturalHeight = h;

  double corners[4][2] = {{double(-reg.x), double(-reg.y)},
                          {double(w - reg.x), double(-reg.y)},
                          {double(w - reg.x), double(h - reg.y)},
                          {double(-reg.x), double(h - reg.y)}};
  if (skew != 0.0f) {
    double k = skew * kDegreesToRadians;
    for (auto& [x, y] : corners) {
      x = x - y * portableSin(k);
      y = y * portableCos(k);
    }
  }
  if (rotation != 0.0f) {
    double k = rotation * kDegreesToRadians, c = portableCos(k), s = portableSin(k);
    for (auto& [x, y] : corners) {
      double turnedX = x * c - y * s;
      y = x * s + y * c;
      x = turnedX;
    }
  }
  for (int i = 0; i < 4; ++i)
    quad.corners[i] = FloatPoint{static_cast<float>(corners[i][0] + locH), static_cast<float>(corners[i][1] + locV)};
  if (flipH) {
    std::swap(quad.corners[0], quad.corners[1]);
    std::swap(quad.corners[3], quad.corners[2]);
  }
  if (flipV) {
    std::swap(quad.corners[0], quad.corners[3]);
    std::swap(quad.corners[1], quad.corners[2]);
  }
  auto [minX, maxX] = std::minmax({quad.corners[0].x, quad.corners[1].x, quad.corners[2].x, quad.corners[3].x});
  auto [minY, maxY] = std::minmax({quad.corners[0].y, quad.corners[1].y, quad.corners[2].y, quad.corners[3].y});
  spriteRect = IntRect{truncateToInteger(minX), truncateToInteger(minY), roundUp(maxX), roundUp(maxY)};
}

void BitmapSprite::draw(ScriptObject& target, int32_t scale) {
  BitmapMember* shown = bitmap();
  if (!shown || target.ilk() != sym::intImage) return;
  shown->load();
  shown->touch();
  BitmapDraw look;
  const IntRect drawn = scaledRect(spriteRect, scale);
  look.destination = PixelRect{drawn.left, drawn.top, drawn.right, drawn.bottom};
  look.ink = ink;
  look.blend = blendLevel;
  look.color = color;
  look.bgColor = bgColor;
  look.scale = scale;
  if (quadMode) look.quad = quad.scaledBy(scale);

  BitmapMember* maskSource = nullptr;
  bool useMatte = false;
  if ((ink == qn::ink::copy || ink == qn::ink::backgroundTransparent) && blendLevel == 255) {
    // Opaque copies need no mask.
  } else if (ink == qn::ink::mask || ink == qn::ink::maskThreshold) {
    maskSource = maskMember();
  } else {
    useMatte = true;
  }
  shown->drawInto(*static_cast<ImageBuffer*>(&target), look, maskSource, useMatte);
}

// An upright copy at full blend writes every pixel of its rect from its picture alone, unless the
// picture has alpha (or is of the 2-bit format nothing is drawn from).
bool BitmapSprite::opaqueOver(const IntRect& area) const {
  const BitmapMember* shown = bitmap();
  const ImageBuffer* image = shown ? shown->image() : nullptr;
  return image && image->hasPixels() && !quadMode && ink == qn::ink::copy && blendLevel == 255 &&
         !(image->format() == PixelFormat::argb8888 && image->useAlpha()) && image->format() != PixelFormat::indexed2 &&
         rectCovers(spriteRect, area);
}

// The member pixel shown at a stage point: through the quad (at the pixel's centre, so that
// rounding never slips into the neighbouring member pixel), else by scaling from the rect.
std::optional<IntPoint> BitmapSprite::memberPointAt(int32_t x, int32_t y) const {
  const BitmapMember* shown = bitmap();
  if (quadMode) {
    std::optional<std::array<double, 2>> unit = quadCoordinatesOf(quad, x + 0.5, y + 0.5);
    if (!unit) return std::nullopt;
    return IntPoint{static_cast<int32_t>(std::floor((*unit)[0] * shown->width())),
                    static_cast<int32_t>(std::floor((*unit)[1] * shown->height()))};
  }
  int32_t spanX = spriteRect.right - spriteRect.left, spanY = spriteRect.bottom - spriteRect.top;
  if (spanX <= 0 || spanY <= 0) return std::nullopt;
  return IntPoint{static_cast<int32_t>(int64_t(shown->width()) * (x - spriteRect.left) / spanX),
                  static_cast<int32_t>(int64_t(shown->height()) * (y - spriteRect.top) / spanY)};
}

bool BitmapSprite::matteCovers(int32_t x, int32_t y) const {
  BitmapMember* shown = bitmap();
  if (!shown) return false;
  shown->load();
  const ImageBuffer* matte = shown->matte();
  std::optional<IntPoint> point = matte ? memberPointAt(x, y) : std::nullopt;
  return point && !matteIsBackground(*matte, point->x, point->y);
}

bool BitmapSprite::hitTest(int32_t x, int32_t y) {
  if (!SpriteChannel::hitTest(x, y)) return false;
  return ink != qn::ink::matte || !bitmap() || matteCovers(x, y);
}

// The rects meet and `matteSprite` draws with the matte ink: some stage pixel of the overlap must
// be covered by its matte, and by this sprite's matte too when this one draws with matte ink.
bool BitmapSprite::pixelsMeet(const SpriteChannel& matteSprite) const {
  const auto* other = dynamic_cast<const BitmapSprite*>(&matteSprite);
  if (!other) return true;
  IntRect overlap = clippedRect(spriteRect, other->spriteRect);
  for (int32_t y = overlap.top; y < overlap.bottom; ++y)
    for (int32_t x = overlap.left; x < overlap.right; ++x)
      if (other->matteCovers(x, y) && (ink != qn::ink::matte || matteCovers(x, y))) return true;
  return false;
}

SpriteChannel* BitmapMember::createSprite(Movie& owner, const SpanRef& span) { return new BitmapSprite(owner, span); }

}  // namespace qn
