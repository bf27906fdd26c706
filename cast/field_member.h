// A field: a text with its font, size, style, colours, alignment and wrapping, drawn into a box
// of width x height. Scripts read and edit the text through the string's chunk operations, which
// the member forwards; an edit first gives the member its own copy of a shared text string.
//
// The rendered copy caches the text drawn at the member's own size; it is made on the first draw
// (not for dynamic fields, nor when color equals bgColor) and dropped on every change.
#pragma once

#include <cstdint>
#include <string>

#include "cast/cast_member_base.h"
#include "cast/cast_rows.h"
#include "cast/text_drawing.h"
#include "gfx/image_buffer.h"

namespace qn {

class FieldMember final : public CastMemberBase {
 public:
  FieldMember(Cast& cast, const FieldRow& row);

  const Value& text() const { return text_; }
  // The text's characters; empty when the text is not a string.
  std::string_view textView() const;
  const TextFormat& format() const { return format_; }
  bool dynamic() const { return dynamic_; }
  bool hasRenderedCopy() const { return !renderedCopy_.isVoid(); }

  // Draws the text into the stage image inside `rect` with the sprite's ink and blend.
  void drawInto(ImageBuffer& stage, const PixelRect& rect, int32_t ink, int32_t blend);
  // The text drawn on bgColor into a new 32-bit buffer of the member's size.
  Value renderImage();

  // ScriptObject
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;

  // CastMember
  SpriteChannel* createSprite(Movie& movie, const SpanRef& span) override;
  bool load() override;
  bool unload(bool force) override;
  int32_t sizeEstimate() const override;
  int32_t width() const override { return width_; }
  int32_t height() const override { return height_; }

 private:
  bool setFormatProperty(SymbolNumber property, const Value& value);
  bool setText(const Value& value);
  // The member's text value after loading, with its own string when it was shared.
  Value& textForEditing();
  void changed();

  Value text_;
  int32_t width_, height_;
  TextFormat format_;
  int32_t offset_, packedSize_, unpackedSize_;
  int32_t lineHeight_, scrollTop_;
  bool dynamic_ = false;
  Value renderedCopy_;  // an image buffer, or void
};

}  // namespace qn
