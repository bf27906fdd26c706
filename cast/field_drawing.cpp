#include "cast/cast.h"
#include "cast/field_member.h"
#include "gfx/draw_image.h"

namespace qn {

Value FieldMember::renderImage() {
  load();
  Value image = Value::adopt(ImageBuffer::create(width_, height_, 32));
  if (ImageBuffer* buffer = imageBufferOf(image))
    drawTextInBox(*buffer, buffer->bounds(), textView(), format_, ink::copy);
  return image;
}

void FieldMember::drawInto(ImageBuffer& stage, const PixelRect& rect, int32_t ink, int32_t blend) {
  touch();
  load();
  if (!dynamic_ && !hasRenderedCopy() && format_.color != format_.bgColor) {
    renderedCopy_ = Value::adopt(ImageBuffer::create(width_, height_, cast().colorDepth(stage.depthCode())));
    if (ImageBuffer* copy = imageBufferOf(renderedCopy_))
      drawTextInBox(*copy, copy->bounds(), textView(), format_, ink::copy);
  }
  ImageBuffer* copy = imageBufferOf(renderedCopy_);
  if (!copy) {
    drawTextInBox(stage, rect, textView(), format_, ink);
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
