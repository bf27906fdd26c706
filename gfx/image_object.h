// The script's image object (ilk #image): a handle on a target that is either an image buffer or
// an object answering `intImage` with its current buffer (a bitmap member, the movie). Every
// call resolves the target first, so an image taken from a member follows the member's image.
#pragma once

#include "gfx/image_buffer.h"
#include "script/value.h"

namespace qn {

class ImageObject final : public ScriptObject {
 public:
  explicit ImageObject(const Value& target) : ScriptObject(sym::image), target_(target) {}

  const Value& target() const { return target_; }
  // The buffer the target stands for now (void when it has none); the Value keeps it alive.
  Value buffer() const;

  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;

 private:
  Value target_;
};

static_assert(sizeof(ImageObject) <= 32, "image objects live in pool cells");

// A new image object around a target; void for a void target.
Value makeImageObject(const Value& target);

}  // namespace qn
