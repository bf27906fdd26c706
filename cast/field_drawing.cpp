#include "cast/cast.h"
#include "cast/field_member.h"
#include "gfx/draw_image.h"

namespace qn {

Value FieldMember::renderImage() {
  load();
  Value image = Value::adopt(ImageBuffer::create(width_, height_, 32));
  if (ImageBuffer* buffer = imageBufferOf(image))
    drawTextInBox(*buffer, buffer->bounds(), text_.toString(), format_, ink::copy);
  return image;
}

void FieldMember::drawInto(ImageBuffer& stage, const PixelRect& rect, int32_t ink, int32_t blend) {
  touch();
  load();
  if (!dynamic_ && !hasRenderedCopy() && format_.color != format_.bgColor) {
    renderedCopy_ = Value::adopt(ImageBuffer::create(width_, height_, cast().colorDepth(stage.depthCode())));
    if (ImageBuffer* copy = imageBufferOf(renderedCopy_))
      drawTextInBox(*copy, copy->bounds(), text_.toString(), format_, ink::copy);
  }
  ImageBuffer* copy = imageBufferOf(renderedCopy_);
  if (!copy) {
    drawTextInBox(stage, rect, text_.toString(), format_, ink);
    return;
  }
  BlitParams params;
  params.destinationRect = rect;
  params.sourceRect = copy->bounds();
  params.ink = ink;
  params.blend = blend;
  params.foreColour = 0x000000;
  params.backColour = format_.bgColor;
  drawImage(stage, copy, params);
}

}  // namespace qn
