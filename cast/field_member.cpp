#include "cast/field_member.h"

#include <algorithm>

#include "cast/cast.h"
#include "engine/geometry_values.h"
#include "gfx/image_object.h"
#include "script/string_object.h"

namespace qn {

namespace {

const char* kAlignmentNames[] = {"left", "center", "right"};

bool isEditingChunkMethod(SymbolNumber method) {
  switch (method) {
    case sym::putAfter: case sym::putBefore: case sym::setChunk: case sym::delChunk:
    case sym::putAfterChunk: case sym::putBeforeChunk:
      return true;
    default: return false;
  }
}

bool isReadingChunkMethod(SymbolNumber method) {
  switch (method) {
    case sym::line: case sym::char_: case sym::length: case sym::lineCount: case sym::word:
    case sym::item: case sym::itemCount: case sym::wordCount: case sym::getChunk:
      return true;
    default: return false;
  }
}

}  // namespace

FieldMember::FieldMember(Cast& cast, const FieldRow& row)
    : CastMemberBase(cast, sym::field, row.number, row.castLib, row.name ? row.name : ""),
      text_(""),
      width_(row.width),
      height_(row.height),
      format_{row.font ? row.font : "", row.fontSize, row.fontStyle ? row.fontStyle : "",
              row.alignment >= 0 && row.alignment <= 2 ? row.alignment : 0,
              row.wordWrap != 0, row.color & 0xFFFFFF, row.bgColor & 0xFFFFFF},
      offset_(row.offset),
      packedSize_(row.packedSize),
      unpackedSize_(row.unpackedSize),
      lineHeight_(row.lineHeight),
      scrollTop_(row.scrollTop) {}

std::string_view FieldMember::textView() const {
  const StringObject* string = stringObjectOf(text_);
  return string ? string->text() : std::string_view();
}

bool FieldMember::load() {
  if (loaded()) return true;
  MemberBytes bytes = cast().media().fetchMemberData(offset_, packedSize_, unpackedSize_);
  if (!bytes) {
    reportLoadFailure(bytes.failure());
    text_ = Value("");
    return false;
  }
  text_ = Value(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size() - 1));
  setLoaded(true);
  return true;
}

bool FieldMember::unload(bool force) {
  dropRenderedCopies();
  if (loaded() && !keepsContent(force)) {
    text_ = Value("");
    setLoaded(false);
  }
  return true;
}

bool FieldMember::hasRenderedCopy(int32_t scale) const {
  return scale >= 1 && scale <= kLargestPresentationScale && !renderedCopies_[static_cast<size_t>(scale - 1)].isVoid();
}

void FieldMember::dropRenderedCopies() {
  for (Value& copy : renderedCopies_) copy = Value();
}

int32_t FieldMember::sizeEstimate() const {
  int64_t estimate = hasRenderedCopy() ? int64_t(width_) * height_ + 1344 : 180;
  for (int32_t scale = 2; scale <= kLargestPresentationScale; ++scale)
    if (hasRenderedCopy(scale)) estimate += int64_t(width_) * height_ * scale * scale;
  estimate += static_cast<int64_t>(textView().size());
  return static_cast<int32_t>(std::min<int64_t>(estimate, INT32_MAX));
}

void FieldMember::changed() {
  dropRenderedCopies();
  updateSprites();
}

Value& FieldMember::textForEditing() {
  load();
  if (text_.object()->refCount() > 1) text_ = Value::adopt(text_.object()->duplicate());
  return text_;
}

bool FieldMember::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) {
  if (isEditingChunkMethod(method)) {
    Value& text = textForEditing();
    setModified(true);
    setLoaded(true);
    changed();
    return text.object()->handle(method, argc, result, argv, flag);
  }
  if (isReadingChunkMethod(method) || (method == sym::chars && argc == 2)) {
    load();
    return text_.object()->handle(method, argc, result, argv, flag);
  }
  if (method == sym::chars) return false;
  return CastMemberBase::handle(method, argc, result, argv, flag);
}

void FieldMember::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::text: load(); result = text_; return;
    case sym::width: result = Value(width_); return;
    case sym::height: result = Value(height_); return;
    case sym::rect: result = rectValue(IntRect{0, 0, width_, height_}); return;
    case sym::color: result = rgbValue(format_.color); return;
    case sym::bgColor: result = rgbValue(format_.bgColor); return;
    case sym::lineHeight: result = Value(lineHeight_); return;
    case sym::scrollTop: result = Value(scrollTop_); return;
    case sym::font: result = Value(format_.font); return;
    case sym::fontSize: result = Value(format_.fontSize); return;
    case sym::fontStyle: result = Value(format_.fontStyle); return;
    case sym::alignment: result = Value(kAlignmentNames[format_.alignment]); return;
    case sym::wordWrap: result = format_.wordWrap ? sharedOne : sharedZero; return;
    case sym::dynamic: result = dynamic_ ? sharedOne : sharedZero; return;
    case sym::lineCount: load(); text_.object()->getProperty(result, sym::lineCount); return;
    case sym::image: result = makeImageObject(renderImage()); return;
    default: CastMemberBase::getProperty(result, property); return;
  }
}

bool FieldMember::setText(const Value& value) {
  std::string text = textOf(value);
  if (text_.is(sym::string) && textView() == text) return true;
  text_ = value.is(sym::string) ? value : Value(text);
  setModified(true);
  setLoaded(true);
  changed();
  return true;
}

bool FieldMember::setProperty(SymbolNumber property, const Value& value) {
  if (property == sym::text) return setText(value);
  if (!setFormatProperty(property, value)) return CastMemberBase::setProperty(property, value);
  changed();
  return true;
}

// The properties that change how the text looks; false when the property or value is not taken.
bool FieldMember::setFormatProperty(SymbolNumber property, const Value& value) {
  bool isString = value.is(sym::string);
  switch (property) {
    case sym::width: width_ = value.toInteger(); return true;
    case sym::height: height_ = value.toInteger(); return true;
    case sym::lineHeight: lineHeight_ = value.toInteger(); return true;
    case sym::scrollTop: scrollTop_ = value.toInteger(); return true;
    case sym::fontSize: format_.fontSize = value.toInteger(); return true;
    case sym::wordWrap: format_.wordWrap = value.toInteger() != 0; return true;
    case sym::dynamic: dynamic_ = value.toInteger() != 0; return true;
    case sym::color:
    case sym::bgColor: {
      std::optional<uint32_t> rgb = rgbFrom(value);
      if (!rgb) return false;
      (property == sym::color ? format_.color : format_.bgColor) = *rgb;
      return true;
    }
    case sym::font:
      if (isString) format_.font = textOf(value);
      return isString;
    case sym::fontStyle:
      if (isString) format_.fontStyle = textOf(value);
      return isString;
    case sym::alignment: {
      if (!isString) return false;
      std::string name = textOf(value);
      format_.alignment = name == "center" ? 1 : name == "right" ? 2 : 0;
      return true;
    }
    default: return false;
  }
}

}  // namespace qn
