// What the script world asks of the movie: the global functions of `handle` and the movie and
// stage properties.
#include "engine/cast_member.h"
#include "engine/geometry_values.h"
#include "engine/movie.h"
#include "engine/script_instance.h"
#include "script/list_object.h"
#include "script/symbol_object.h"

namespace qn {

// Every other symbol, the compiled movie's own names among them, calls a movie handler.
bool Movie::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  result = Value();
  if (globalFunctions().find(method) == nullptr) return callMovieHandler(method, argc, &result, argv);
  return globalFunctions().answer(*this, method, argc, argv, result);
}

const MethodTable<Movie, bool>& Movie::globalFunctions() {
  static constexpr auto kFunctions = std::to_array<Method<Movie, bool>>({
      {sym::put, Arity::any(),
       [](Movie& movie, const MethodCall& call) {
         movie.putAll(call.argc, call.argv);
         return true;
       }},
      {sym::new_, Arity::atLeast(1),
       [](Movie& movie, const MethodCall& call) { return movie.newObject(call.argc, call.argv, call.answer); }},
      {sym::min_, Arity::any(),
       [](Movie& movie, const MethodCall& call) {
         movie.minOrMax(call.argc, call.argv, call.answer, kLess);
         return true;
       }},
      {sym::max_, Arity::any(),
       [](Movie& movie, const MethodCall& call) {
         movie.minOrMax(call.argc, call.argv, call.answer, kGreater);
         return true;
       }},
      {sym::sendAllSprites, Arity::any(),
       [](Movie& movie, const MethodCall& call) {
         movie.sendAllSprites(call.argc, call.argv, call.answer);
         return true;
       }},
      {sym::sendSprite, Arity::any(),
       [](Movie& movie, const MethodCall& call) {
         movie.sendSprite(call.argc, call.argv, call.answer);
         return true;
       }},
      {sym::call, Arity::any(),
       [](Movie& movie, const MethodCall& call) {
         movie.call(call.argc, call.argv, call.answer);
         return true;
       }},
      {sym::getChunk, Arity::atLeast(4), chunkFunction<sym::getChunk>},
      {sym::setChunk, Arity::atLeast(4), chunkFunction<sym::setChunk>},
      {sym::delChunk, Arity::atLeast(4), chunkFunction<sym::delChunk>},
      {sym::putAfterChunk, Arity::atLeast(4), chunkFunction<sym::putAfterChunk>},
      {sym::putBeforeChunk, Arity::atLeast(4), chunkFunction<sym::putBeforeChunk>},
  });
  static constexpr auto kTable = MethodTable<Movie, bool>::bind(kFunctions);
  return kTable;
}

// One value prints as its text (a string in quotes); several are joined, each followed by a
// blank, and the joined text is not quoted again.
void Movie::putAll(int argc, Value* const* argv) {
  std::string text;
  if (argc == 1) {
    argv[0]->object()->toString(text);
    putText(text);
    return;
  }
  for (int i = 0; i < argc; ++i) {
    argv[i]->object()->toString(text);
    text += ' ';
  }
  putText(text);
}

// Ties keep the earlier argument.
void Movie::minOrMax(int argc, Value* const* argv, Value& result, int wanted) {
  if (argc == 0) {
    result = sharedZero;
    return;
  }
  Value best = *argv[0];
  for (int i = 1; i < argc; ++i)
    if (argv[i]->compare(best, false) == wanted) best = *argv[i];
  result = best;
}

bool Movie::newObject(int argc, Value* const* argv, Value& result) {
  if (symbolOf(*argv[0]) == sym::bitmap) {
    result = services_.cast.newBitmapMember(argc >= 2 ? argv[1] : nullptr, colorDepth_);
    return true;
  }
  if (argv[0]->is(sym::script)) {
    result = newInstanceOf(*argv[0]);
    return true;
  }
  return false;
}

// The chunk functions work on their first argument: a string gets its own copy first when it is
// shared, so the caller's other holders keep their text.
bool Movie::forwardChunk(SymbolNumber method, int argc, Value* const* argv, Value& result) {
  Value& target = *argv[0];
  if (target.is(sym::string) && target.object()->refCount() > 1) target = Value::adopt(target.object()->duplicate());
  if (!target.is(sym::string) && !target.is(sym::member)) return false;
  return target.object()->handle(method, argc - 1, result, argv + 1, false);
}

void Movie::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::image: result = stageImage_.isVoid() ? Value() : services_.stageImages.imageObject(stageImage_); return;
    case sym::intImage: result = stageImage_; return;
    case sym::width: result = Value(stageWidth_); return;
    case sym::height: result = Value(stageHeight_); return;
    case sym::rect: result = rectValue(IntRect{0, 0, stageWidth_, stageHeight_}); return;
    case sym::bgColor: result = rgbValue(stageColor_); return;
    case sym::actorList: result = actorList_; return;
    case sym::idleHandlerPeriod: result = Value(idleHandlerPeriod_); return;
    case sym::rolloverPeriod: result = Value(rolloverPeriod_); return;
    case sym::itemDelimiter: result = Value(itemDelimiter_); return;
    case sym::exitLock: result = Value(int32_t{exitLock_}); return;
    default: result = Value(); return;
  }
}

bool Movie::setProperty(SymbolNumber property, const Value& value) {
  switch (property) {
    case sym::bgColor:
      if (auto rgb = rgbFrom(value)) stageColor_ = *rgb;
      else stageColor_ = static_cast<uint32_t>(value.toInteger());
      dirtyRect_ = stageRect_;
      return true;
    case sym::rotation: {
      int32_t degrees = value.toInteger();
      if (degrees != orientation_ && (degrees == 0 || degrees == 90 || degrees == -90)) {
        orientation_ = degrees;
        presentRect_ = stageRect_;
      }
      return true;
    }
    case sym::actorList:
      if (ListObject* source = listOf(value); source && !value.sameObject(actorList_)) {
        ListObject* actors = listOf(actorList_);
        actors->clear();
        for (const Value& item : *source) actors->append(item);
      }
      return true;
    case sym::idleHandlerPeriod: idleHandlerPeriod_ = value.toInteger(); return true;
    case sym::rolloverPeriod: rolloverPeriod_ = value.toInteger(); return true;
    case sym::floatPrecision: floatPrecision_ = value.toInteger(); return true;
    case sym::randomSeed: random_.reseed(static_cast<uint32_t>(value.toInteger())); return true;
    case sym::itemDelimiter:
      if (value.is(sym::string)) itemDelimiter_ = stringOf(value).substr(0, 1);
      return true;
    case sym::exitLock: exitLock_ = value.toInteger() == 1; return true;
    case sym::timer: timerBase_ = msToTicks(now()) - value.toInteger(); return true;
    default: return true;
  }
}

}  // namespace qn
