// A small cast standing in for the real one: bitmap-like members whose sprites are boxes of the
// member's size around the regPoint, field-like members (another member type), and script
// members that keep one object of their compiled class as their script object.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "engine/cast_table.h"
#include "engine/movie.h"
#include "engine/script_instance.h"
#include "script/symbol_object.h"

namespace qn::testing {

class BoxMember;

// The renderer of box members: the rect is the member's box at the sprite's location.
class BoxSprite : public SpriteChannel {
 public:
  using SpriteChannel::SpriteChannel;
  void computeGeometry() override;
  void draw(ScriptObject&, int32_t) override { ++draws; }
  int draws = 0;
};

class BoxMember : public CastMember {
 public:
  BoxMember(SymbolNumber type, int32_t number, int32_t castLib, int32_t w, int32_t h, IntPoint reg)
      : CastMember(type, number, castLib), width_(w), height_(h), reg_(reg) {}
  SpriteChannel* createSprite(Movie& movie, const SpanRef& span) override { return new BoxSprite(movie, span); }
  int32_t width() const override { return width_; }
  int32_t height() const override { return height_; }
  IntPoint regPoint() const override { return reg_; }
  void toString(std::string& out) const override { out += "(member " + std::to_string(number()) + ")"; }
  ScriptObject* duplicate() override {
    retain();
    return this;
  }
  void play(int32_t soundChannel) override { playedOn = soundChannel; }
  int32_t playedOn = 0;

 private:
  int32_t width_, height_;
  IntPoint reg_;
};

inline void BoxSprite::computeGeometry() {
  if (!member) {
    spriteRect = IntRect{};
    return;
  }
  int32_t w = stretch ? width : member->width(), h = stretch ? height : member->height();
  naturalWidth = w;
  naturalHeight = h;
  IntPoint reg = member->regPoint();  // scaled with the stretch, like the bitmap renderer
  if (stretch && member->width() > 0 && member->height() > 0)
    reg = {reg.x * w / member->width(), reg.y * h / member->height()};
  spriteRect = IntRect{locH - reg.x, locV - reg.y, locH - reg.x + w, locV - reg.y + h};
}

class ScriptMember : public CastMember {
 public:
  ScriptMember(Movie& movie, int32_t number, int32_t castLib, SymbolNumber scriptType)
      : CastMember(sym::script, number, castLib), scriptType_(scriptType) {
    movie.createScriptInstance(script_, number, castLib);
    if (ScriptInstance* object = scriptInstanceOf(script_)) object->becomeScriptObjectOf(Value::share(this));
  }
  ~ScriptMember() override = default;
  void forget() {
    if (ScriptInstance* object = scriptInstanceOf(script_)) object->forgetMember();
  }
  SpriteChannel* createSprite(Movie& movie, const SpanRef& span) override { return new SpriteChannel(movie, span); }
  SymbolNumber scriptType() const override { return scriptType_; }
  const Value& scriptObject() const override { return script_; }
  void toString(std::string& out) const override { out += "(script member)"; }
  void getProperty(Value& result, SymbolNumber property) override {
    result = property == sym::name ? Value("script " + std::to_string(number())) : Value();
  }
  ScriptObject* duplicate() override {
    retain();
    return this;
  }

 private:
  SymbolNumber scriptType_;
  Value script_;
};

class FakeCast : public CastTable {
 public:
  ~FakeCast() override { clear(); }
  void clear() {
    for (auto& [key, member] : members_)
      if (auto* script = dynamic_cast<ScriptMember*>(member.object())) script->forget();
    members_.clear();
    names_.clear();
  }
  CastMember* add(CastMember* member, std::string name = {}) {
    Value held = Value::adopt(member);
    members_[member->key()] = held;
    if (!name.empty()) names_.emplace(name, held);
    return member;
  }
  CastMember* find(int32_t key) const override {
    auto it = members_.find(key);
    return it == members_.end() ? nullptr : castMemberOf(it->second);
  }
  CastMember* findByName(std::string_view name) const override {
    auto it = names_.find(std::string(name));
    return it == names_.end() ? nullptr : castMemberOf(it->second);
  }
  Value memberOf(const Value& designator) override {
    if (designator.is(sym::member)) return designator;
    CastMember* found = designator.is(sym::string) ? findByName(stringOf(designator))
                                                   : find(memberKey(designator.toInteger(), 1));
    return found ? Value::share(found) : Value();
  }
  Value emptyMember(int32_t, int32_t) override { return Value(); }
  Value newBitmapMember(const Value*, int32_t) override { return Value(); }
  void unloadAll(bool force) override { unloads += force ? 100 : 1; }
  int unloads = 0;

 private:
  std::map<int32_t, Value> members_;
  std::map<std::string, Value> names_;
};

}  // namespace qn::testing
