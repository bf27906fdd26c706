#include <algorithm>

#include "cast/cast.h"
#include "cast/field_member.h"
#include "cast/member_hold.h"
#include "gfx/draw_image.h"

namespace qn {

Value FieldMember::renderImage() {
  load();
  const MemberHold hold(*this);  // making the image may purge memory
  Value image = Value::adopt(ImageBuffer::create(width_, height_, 32));
  if (ImageBuffer* buffer = imageBufferOf(image))
    drawTextInBox(*buffer, buffer->bounds(), textView(), format_, ink::copy);
  return image;
}

void FieldMember::drawInto(ImageBuffer& stage, const PixelRect& rect, int32_t ink, int32_t blend, int32_t scale) {
  touch();
  load();
  scale = std::clamp(scale, 1, kLargestPresentationScale);
  // The images text drawing makes may purge memory: the text and the rendered copies stay.
  const MemberHold hold(*this);
  Value& rendered = renderedCopies_[static_cast<size_t>(scale - 1)];
  const int64_t copyWidth = int64_t{width_} * scale, copyHeight = int64_t{height_} * scale;
  if (!dynamic_ && rendered.isVoid() && format_.color != format_.bgColor && copyWidth <= INT32_MAX &&
      copyHeight <= INT32_MAX) {
    Value made = Value::adopt(ImageBuffer::create(static_cast<int32_t>(copyWidth), static_cast<int32_t>(copyHeight),
                                                  cast().colorDepth(stage.depthCode())));
    if (ImageBuffer* copy = imageBufferOf(made)) {
      drawTextInBox(*copy, copy->bounds(), textView(), format_, ink::copy, scale);
      rendered = made;
      cast().keepWithinBudget(*this);
    }
  }
  ImageBuffer* copy = imageBufferOf(rendered);
  if (!copy) {
    drawTextInBox(stage, rect, textView(), format_, ink, scale);
    return;
  }
  BlitParams params;
  params.destinationRect = rect;
  params.sourceRect = copy->bounds();
  params.ink = ink;
  params.blend = blend;
  // bgColor is what backgroundTransparent drops. A copy with a background other than white would
  // remap the colours (every pixel becomes bgColor AND the source), so copies keep plain white.
  params.foreColour = 0x000000;
  params.backColour = ink == ink::copy ? 0xFFFFFF : format_.bgColor;
  drawImage(stage, copy, params);
}

}  // namespace qn
