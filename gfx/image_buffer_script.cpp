// The properties of an image buffer as scripts see them. The image methods are in image_methods.cpp.
#include <cstdint>

#include "gfx/image_buffer.h"
#include "script/rect_object.h"

namespace qn {

void ImageBuffer::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::width: result = Value(width_); return;
    case sym::height: result = Value(height_); return;
    case sym::rect: result = makeRect(0, 0, width_, height_); return;
    case sym::depth: result = Value(depth()); return;
    case sym::useAlpha: result = Value(useAlpha_ ? 1 : 0); return;
    case sym::ilk: result = Value::symbol(sym::image); return;
    // Addresses cut to 32 bits: stable for the buffer's life, and all a script can do with them.
    case sym::start: result = Value(static_cast<int32_t>(reinterpret_cast<uintptr_t>(topRow_))); return;
    case sym::rowOffset: result = Value(rowStep()); return;
    default: result = Value(); return;
  }
}

bool ImageBuffer::setProperty(SymbolNumber property, const Value& value) {
  switch (property) {
    case sym::useAlpha:
      setUseAlpha(value.toInteger() != 0);
      return true;
    case sym::movie:
      owner_ = value;
      return true;
    default: return false;
  }
}

}  // namespace qn
