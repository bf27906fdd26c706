// The stage image service over real image buffers: makes the stage image (and the screen image of
// a presentation scale), clips and fills them for the movie's composition, enlarges what scripts
// drew into the stage onto the screen image, and hands out the image object scripts draw into the
// stage with.
//
// Script drawing into the stage image is reported to the change listener (the movie's
// `presentRect`); the service must outlive every stage image it made.
#pragma once

#include <functional>

#include "gfx/image_buffer.h"
#include "gfx/stage_image_service.h"

namespace qn {

class StageImages final : public StageImageService {
 public:
  using ChangeListener = std::function<void(const IntRect& changed)>;

  StageImages() = default;
  void setChangeListener(ChangeListener listener) { listener_ = std::move(listener); }

  Value createStageImage(int32_t width, int32_t height, int32_t depth) override;
  void setClip(const Value& stageImage, const IntRect& clip) override;
  void fill(const Value& stageImage, const IntRect& area, uint32_t rgb) override;
  void enlarge(const Value& stageImage, const Value& screenImage, const IntRect& area, int32_t scale) override;
  Value imageObject(const Value& stageImage) override;

  void stageChanged(const PixelRect& changed) const;

 private:
  ChangeListener listener_;
};

}  // namespace qn
