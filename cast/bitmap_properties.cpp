#include "cast/bitmap_member.h"

#include "engine/geometry_values.h"
#include "gfx/image_object.h"
#include "gfx/matte_mask.h"
#include "script/string_object.h"

namespace qn {

void BitmapMember::recentre() {
  regX_ = width_ / 2;
  regY_ = height_ / 2;
}

void BitmapMember::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::image:
      load();
      touch();
      result = makeImageObject(Value::share(this));
      return;
    case sym::intImage:
      load();
      touch();
      result = image_;
      return;
    case sym::width: result = Value(width_); return;
    case sym::height: result = Value(height_); return;
    case sym::rect: result = rectValue(IntRect{0, 0, width_, height_}); return;
    case sym::depth: result = Value(depth_); return;
    case sym::useAlpha: result = image() && image()->useAlpha() ? sharedOne : sharedZero; return;
    case sym::regPoint: result = pointValue(IntPoint{regX_, regY_}); return;
    case sym::filename: result = Value(filename_); return;
    default: CastMemberBase::getProperty(result, property); return;
  }
}

bool BitmapMember::setProperty(SymbolNumber property, const Value& value) {
  switch (property) {
    case sym::image: {
      Value given = value.is(sym::intImage) ? value : value.getProperty(sym::intImage);
      ImageBuffer* source = imageBufferOf(given);
      if (!source) return false;
      Value copy = Value::adopt(source->duplicateRect(source->bounds()));
      if (!imageBufferOf(copy)) return false;
      useAlpha_ = source->useAlpha();
      adoptImage(copy);
      filename_.clear();
      recentre();
      setLoaded(true);
      setModified(true);
      break;
    }
    case sym::useAlpha:
      useAlpha_ = value.toInteger() != 0;
      if (ImageBuffer* buffer = image()) buffer->setUseAlpha(useAlpha_);
      matte_ = Value();
      dropScaledPicture();
      break;
    case sym::regPoint: {
      std::optional<IntPoint> point = pointFrom(value);
      if (!point) return false;
      regX_ = point->x;
      regY_ = point->y;
      break;
    }
    case sym::filename:
      if (!value.is(sym::string)) return false;
      filename_ = textOf(value);
      dropImage();
      setLoaded(false);
      setModified(false);
      load();
      recentre();
      break;
    default: return CastMemberBase::setProperty(property, value);
  }
  updateSprites();
  return true;
}

}  // namespace qn
