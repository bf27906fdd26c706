// What an image buffer tells the object it belongs to (a bitmap member, the movie for the stage
// image) after its pixels were changed from outside the compositor. The owner classes implement
// this next to ScriptObject; a buffer finds it on its owner value by a cross cast.
#pragma once

#include "gfx/pixel_rect.h"

namespace qn {

class ImageOwner {
 public:
  virtual void imageChanged(const PixelRect& changed) = 0;

 protected:
  ~ImageOwner() = default;
};

}  // namespace qn
