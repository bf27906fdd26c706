#include "gfx/image_object.h"

#include <cinttypes>
#include <cstdio>

#include "gfx/image_arguments.h"

namespace qn {

Value ImageObject::buffer() const { return bufferValueOf(target_.is(sym::intImage) ? target_ : target_.getProperty(sym::intImage)); }

void ImageObject::toString(std::string& out) const {
  char text[32];
  std::snprintf(text, sizeof text, "<image:%" PRIxPTR ">", reinterpret_cast<uintptr_t>(target_.object()));
  out += text;
}

ScriptObject* ImageObject::duplicate() {
  retain();
  return this;
}

int ImageObject::compare(const Value& other, bool ordering) const {
  if (other.object() == this) return kEqual;
  if (!other.is(sym::image)) return kIncomparable;
  const Value mine = buffer();
  const Value theirs = static_cast<const ImageObject*>(other.object())->buffer();
  if (mine.isVoid() || theirs.isVoid()) return kIncomparable;
  return mine.compare(theirs, ordering);
}

bool ImageObject::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) {
  const Value target = buffer();
  return !target.isVoid() && target.object()->handle(method, argc, result, argv, flag);
}

void ImageObject::getProperty(Value& result, SymbolNumber property) {
  const Value target = buffer();
  if (property == sym::intImage) result = target;
  else if (target.isVoid()) result = property == sym::ilk ? Value::symbol(sym::image) : Value();
  else target.object()->getProperty(result, property);
}

bool ImageObject::setProperty(SymbolNumber property, const Value& value) {
  const Value target = buffer();
  return !target.isVoid() && target.setProperty(property, value);
}

Value makeImageObject(const Value& target) {
  return target.isVoid() ? Value() : Value::adopt(new ImageObject(target));
}

}  // namespace qn
