// A field: a text with its font, size, style, colours, alignment and wrapping, drawn into a box
// of width x height. Scripts read and edit the text through the string's chunk operations, which
// the member forwards; an edit first gives the member its own copy of a shared text string.
//
// The rendered copies cache the text drawn at the member's own size and at each presentation
// scale drawn (the 1x layout, glyphs drawn at the scale); each is made on its first draw (not for
// dynamic fields, nor when color equals bgColor) and all are dropped on every change.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "cast/cast_member_base.h"
#include "cast/cast_rows.h"
#include "cast/scaled_media_format.h"
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
  bool hasRenderedCopy(int32_t scale = 1) const;

  // Draws the text into the stage image inside `rect` with the sprite's ink and blend; at a
  // presentation scale into the stage composed that many times as large (`rect` already scaled).
  void drawInto(ImageBuffer& stage, const PixelRect& rect, int32_t ink, int32_t blend, int32_t scale = 1);
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
  void dropRenderedCopies();

  Value text_;
  int32_t width_, height_;
  TextFormat format_;
  int32_t offset_, packedSize_, unpackedSize_;
  int32_t lineHeight_, scrollTop_;
  bool dynamic_ = false;
  std::array<Value, kLargestPresentationScale> renderedCopies_;  // by scale - 1: image buffers, or void
};

}  // namespace qn
