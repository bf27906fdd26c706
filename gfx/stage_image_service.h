// What the movie asks of its stage image. The stage image is an image buffer (a script object of
// ilk #intImage) of stage width x stage height; the graphics subsystem implements this service
// over its image buffers and the device's frame buffer. Sprites draw themselves into the stage
// image through their renderer (`SpriteChannel::draw`); the movie only fills, clips and presents.
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
  // Puts the pixels of the stage image that land in `windowRect` on the device's screen, turned
  // by `orientation` (0, 90 or -90 degrees, the rect mapping of the movie).
  virtual void present(const Value& stageImage, const IntRect& windowRect, int32_t orientation) = 0;
  // The script image object bound to the stage image (the movie's `image` property); drawing
  // through it reports the changed rect to the movie's `presentRect`.
  virtual Value imageObject(const Value& stageImage) = 0;
};

}  // namespace qn
