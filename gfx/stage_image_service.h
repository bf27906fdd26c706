// What the movie asks of its stage image. The stage image is an image buffer (a script object of
// ilk #intImage) of stage width x stage height; the graphics subsystem implements this service
// over its image buffers. Sprites draw themselves into the stage image through their renderer
// (`SpriteChannel::draw`); the movie only makes, fills and clips it. The screen image, the stage
// composed at a presentation scale, is made and composed the same way.
#pragma once

#include <cstdint>

#include "script/stage_rect.h"
#include "script/value.h"

namespace qn {

class StageImageService {
 public:
  virtual ~StageImageService() = default;

  // A new stage image at `depth` (16 for 5-5-5, -16 for 5-6-5, 32), clip rect the whole image;
  // void when it cannot be made (the movie then composes nothing).
  virtual Value createStageImage(int32_t width, int32_t height, int32_t depth) = 0;
  // Later drawing into the image touches no pixel outside `clip`.
  virtual void setClip(const Value& stageImage, const IntRect& clip) = 0;
  // Fills `area` (within the clip) with 0xRRGGBB.
  virtual void fill(const Value& stageImage, const IntRect& area, uint32_t rgb) = 0;
  // Draws `area` of the stage image into the screen image `scale` times as large (each stage
  // pixel a square of scale x scale): how pixels scripts drew into the stage reach the screen.
  virtual void enlarge(const Value& stageImage, const Value& screenImage, const IntRect& area, int32_t scale) = 0;
  // The script image object bound to the stage image (the movie's `image` property); drawing
  // through it reports the changed rect to the movie's `presentRect`.
  virtual Value imageObject(const Value& stageImage) = 0;
};

}  // namespace qn
