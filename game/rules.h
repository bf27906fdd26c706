// The vocabulary the game's rules are written in, so that a rule reads like its sentence:
//
//   sprite(ch::banner)[sym::blend] = 100;           // "blend 100 on the banner"
//   hide(ch::setupScreen);                          // "hide channels 400 to 450"
//   ball[s::speed] = ball[s::speed] - u / 100;      // a ball record's property
//   playSound(sound::jingles, "bloop3");
//   pList[s::waity] = now();
//
// Every read and write goes through the object's own property rules (a sprite's locks and change
// bits, a record's key order), and values keep their script types: integer arithmetic stays
// integer, as the rules expect.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "game/channels.h"
#include "game/game_movie.h"
#include "game/game_symbols.h"
#include "script/list_object.h"
#include "script/point_object.h"
#include "script/symbol_object.h"
#include "script/symbol_prop_list_object.h"

namespace qn::game {

// The movie the rules run in.
inline GameMovie& movie() { return GameMovie::running(); }
// Those who follow the game: the rules tell them what happens (game_observer.h).
inline GameObservers& observers() { return movie().observers(); }

// One property of a script object: reads give a Value, writes go through setProperty. It holds
// its object, so `a[s::pos][sym::locH] = 3` changes the point the record holds, in place.
class Property {
 public:
  Property(Value owner, SymbolNumber name) : owner_(std::move(owner)), name_(name) {}
  Property(const Property&) = default;

  Value get() const { return owner_.getProperty(name_); }
  operator Value() const { return get(); }
  int32_t toInteger() const { return get().toInteger(); }
  double toFloat() const { return get().toFloat(); }
  Property operator[](SymbolNumber inner) const { return Property(get(), inner); }

  const Property& operator=(const Value& value) const {
    owner_.setProperty(name_, value);
    return *this;
  }
  const Property& operator=(const Property& other) const { return *this = other.get(); }
  const Property& operator+=(const Value& delta) const { return *this = get() + delta; }
  const Property& operator-=(const Value& delta) const { return *this = get() - delta; }

 private:
  Value owner_;
  SymbolNumber name_;
};

// A script object as the rules see it: a record (property list), a sprite, a point.
class Object {
 public:
  Object(Value value) : value_(std::move(value)) {}
  Property operator[](SymbolNumber name) const { return Property(value_, name); }
  const Value& value() const { return value_; }

 private:
  Value value_;
};

// The sprite in a channel.
inline Object sprite(int32_t channel) { return Object(Value::share(&movie().sprite(channel))); }
inline SpriteChannel& spriteChannel(int32_t channel) { return movie().sprite(channel); }

// Visibility of channels, through the sprite's `visible` so that the stage redraws where it changed.
inline void show(int32_t channel) { sprite(channel)[sym::visible] = sharedOne; }
inline void hide(int32_t channel) { sprite(channel)[sym::visible] = sharedZero; }
inline void show(ChannelRange range) {
  for (int32_t channel = range.first; channel <= range.last; ++channel) show(channel);
}
inline void hide(ChannelRange range) {
  for (int32_t channel = range.first; channel <= range.last; ++channel) hide(channel);
}

// One property set to the same value on every channel of a range.
inline void setAll(ChannelRange range, SymbolNumber property, const Value& value) {
  for (int32_t channel = range.first; channel <= range.last; ++channel) sprite(channel)[property] = value;
}

// The movie's millisecond clock.
inline int32_t now() { return movie().now(); }
// random(n): 1 to n from the movie's generator.
inline int32_t random(int32_t n) { return movie().randomGenerator().random(n); }

// Sound channels: a member by name, stopping (the integer 0 in place of the name), busy.
inline void playSound(int32_t channel, std::string_view name) { movie().playSound(channel, Value(name)); }
inline void stopSound(int32_t channel) { movie().playSound(channel, sharedZero); }
inline bool soundBusy(int32_t channel) { return movie().soundBusy(channel); }

// Texts joined as the script's `&` joins them: strings as they are, numbers in their text form.
inline Value joined(std::initializer_list<Value> parts) {
  std::string text;
  for (const Value& part : parts) text += stringOf(part);
  return Value(text);
}

// Field members by name.
inline Property field(std::string_view name) { return Property(movie().cast().memberOf(Value(name)), sym::text); }
// The script function `member`: a member by number (castLib 1) or by name.
inline Object castMember(const Value& designator) { return Object(movie().cast().memberOf(designator)); }
// The text of the member a channel shows.
inline Value textShownIn(int32_t channel) { return sprite(channel)[sym::member][sym::text]; }

// Lists: item i counted from 1, the number of items, appending and deleting.
inline Value itemAt(const Value& list, int32_t position) { return list.item(position); }
inline int32_t countOf(const Value& list) { return list.count(); }
inline void append(const Value& list, const Value& item) {
  if (ListObject* items = listOf(list)) items->append(item);
}
inline void deleteAt(const Value& list, int32_t position) {
  if (ListObject* items = listOf(list)) items->removeAt(position);
}

// Points: coordinates as numbers, and a point from two numbers (float form).
inline double xOf(const Value& point) { return point.getProperty(sym::locH).toFloat(); }
inline double yOf(const Value& point) { return point.getProperty(sym::locV).toFloat(); }
inline Value pointAt(double x, double y) { return makeFloatPoint(x, y); }

// Blend faded by `step` a frame, never below 0.
inline void fade(int32_t channel, int32_t step) {
  Object faded = sprite(channel);
  faded[sym::blend] = std::max(0, faded[sym::blend].toInteger() - step);
}

// The stylus and the keys, as the movie has them from the device.
inline bool stylusDown() { return movie().mouseIsDown(); }
inline bool keyHeld(int32_t code) { return movie().keyPressed(code); }
inline Value mouseLoc() {
  IntPoint point = movie().mouseLoc();
  return makePoint(point.x, point.y);
}

}  // namespace qn::game
