// The base of every compiled script class (ilk #instance). A class adds its own properties after
// these fields, answers its handlers in `handle` (a switch on symbol numbers, `me` first) and
// names its property slots in `ownProperty`, which gives it `getProperty`/`setProperty` for free:
//
//   class Button : public ScriptInstance {
//    public:
//     Button() : ScriptInstance(event::mouseUp) {}
//     bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) override {
//       switch (method) {
//         case sym::mouseUp: return runHandler(&Button::mouseUp, *this, argc, argv, result);
//       }
//       return false;
//     }
//    protected:
//     Value* ownProperty(SymbolNumber property) override {
//       return property == s::pTarget ? &pTarget : nullptr;
//     }
//    private:
//     Value mouseUp() { ... }
//     Value pTarget;
//   };
//
// A script member keeps one object of its class as its script object: the same class re-marked
// #script, whose `script` slot holds the member.
#pragma once

#include <cstdint>

#include "engine/event_mask.h"
#include "script/value.h"

namespace qn {

class ScriptInstance : public ScriptObject {
 public:
  // `handledEvents`: the events the class has handlers for.
  explicit ScriptInstance(EventMask handledEvents) : ScriptObject(sym::instance), eventMask_(handledEvents) {}

  EventMask eventMask() const { return eventMask_; }
  // The channel of the sprite the instance is a behaviour of (0 otherwise); the movie rewrites
  // it before every event it delivers through a sprite.
  int32_t spriteNum() const { return spriteNum_; }
  void setSpriteNum(int32_t channel) { spriteNum_ = channel; }
  // Void for instances; the script member for a script object.
  const Value& script() const { return script_; }
  bool isScriptObject() const { return ilk() == sym::script; }

  // Makes this the script object of `member`. The member holds its script object and the script
  // object its member: whoever lets the cast go calls `forgetMember` to break that cycle.
  void becomeScriptObjectOf(const Value& member);
  void forgetMember() { script_ = Value(); }

  void invoke(Value& result, SymbolNumber method, int argc, Value* const* argv) override;
  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;

 protected:
  // The slot holding one of the class's own properties, or null when it has none of that name.
  virtual Value* ownProperty(SymbolNumber /*property*/) { return nullptr; }

 private:
  Value script_;
  int32_t spriteNum_ = 0;
  EventMask eventMask_;
};

// The instance or script object a value holds, or null.
inline ScriptInstance* scriptInstanceOf(const Value& value) {
  return value.is(sym::instance) || value.is(sym::script) ? static_cast<ScriptInstance*>(value.object())
                                                          : nullptr;
}

}  // namespace qn
