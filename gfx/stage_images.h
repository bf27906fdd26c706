// The stage image service over real image buffers: makes the stage image, clips and fills it for
// the movie's composition, presents window rectangles of it on the device's frame buffer turned
// by the stage orientation, and hands out the image object scripts draw into the stage with.
//
// Script drawing into the stage image is reported to the change listener (the movie's
// `presentRect`); the service must outlive every stage image it made.
#pragma once

#include <functional>

#include "gfx/frame_buffer.h"
#include "gfx/image_buffer.h"
#include "gfx/stage_image_service.h"

namespace qn {

class StageImages final : public StageImageService {
 public:
  using ChangeListener = std::function<void(const IntRect& changed)>;

  explicit StageImages(FrameBufferDevice& display) : display_(display) {}
  void setChangeListener(ChangeListener listener) { listener_ = std::move(listener); }

  Value createStageImage(int32_t width, int32_t height, int32_t depth) override;
  void setClip(const Value& stageImage, const IntRect& clip) override;
  void fill(const Value& stageImage, const IntRect& area, uint32_t rgb) override;
  void present(const Value& stageImage, const IntRect& windowRect, int32_t orientation) override;
  Value imageObject(const Value& stageImage) override;

  void stageChanged(const PixelRect& changed) const;

 private:
  FrameBufferDevice& display_;
  ChangeListener listener_;
};

// Copies the window rect of a stage image into a frame buffer of the given display format
// (32, 16 for 5-5-5, -16 for 5-6-5, 24), turned by orientation (0, 90, -90): with 90 window pixel
// (x, y) shows stage pixel (screen height - 1 - y, x), with -90 stage pixel (y, screen width - 1 - x).
void presentStage(const ImageBuffer& stage, const FrameBuffer& screen, int32_t displayFormat, const IntRect& windowRect,
                  int32_t orientation);

}  // namespace qn
