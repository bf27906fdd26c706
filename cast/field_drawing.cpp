#include <algorithm>

#include "cast/cast.h"
#include "cast/field_member.h"
#include "gfx/draw_image.h"

namespace qn {

Value FieldMember::renderImage() {
  load();
  const Value text = text_;  // held: making the image may purge memory and unload this member
  const std::string_view shown = textView();
  Value image = Value::adopt(ImageBuffer::create(width_, height_, 32));
  if (ImageBuffer* buffer = imageBufferOf(image))
    drawTextInBox(*buffer, buffer->bounds(), shown, format_, ink::copy);
  return image;
}

void FieldMember::drawInto(ImageBuffer& stage, const PixelRect& rect, int32_t ink, int32_t blend, int32_t scale) {
  touch();
  load();
  scale = std::clamp(scale, 1, kLargestPresentationScale);
  // Held here, not only by the member: the images text drawing makes may purge memory and unload
  // this member, which lets go of its text and rendered copies.
  const Value text = text_;
  const std::string_view shown = textView();
  Value held = renderedCopies_[static_cast<size_t>(scale - 1)];
  const int64_t copyWidth = int64_t{width_} * scale, copyHeight = int64_t{height_} * scale;
  if (!dynamic_ && held.isVoid() && format_.color != format_.bgColor && copyWidth <= INT32_MAX &&
      copyHeight <= INT32_MAX) {
    held = Value::adopt(ImageBuffer::create(static_cast<int32_t>(copyWidth), static_cast<int32_t>(copyHeight),
                                            cast().colorDepth(stage.depthCode())));
    if (ImageBuffer* copy = imageBufferOf(held)) {
      drawTextInBox(*copy, copy->bounds(), shown, format_, ink::copy, scale);
      if (loaded()) renderedCopies_[static_cast<size_t>(scale - 1)] = held;
    }
  }
  ImageBuffer* copy = imageBufferOf(held);
  if (!copy) {
    drawTextInBox(stage, rect, shown, format_, ink, scale);
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
