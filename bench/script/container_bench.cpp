// Lists, property lists, chunks and rects: the operations game handlers run every frame.
#include <benchmark/benchmark.h>

#include <string>

#include "script/list_object.h"
#include "script/prop_list_object.h"
#include "script/rect_object.h"
#include "script/string_object.h"

namespace qn {
namespace {

Value numberedList(int32_t count) {
  Value list = makeList({});
  for (int32_t i = 0; i < count; ++i) listOf(list)->append(Value(i));
  return list;
}

void listGetAtMethod(benchmark::State& state) {
  Value list = numberedList(1000);
  int32_t position = 0;
  for (auto _ : state) {
    Value element = list.call(sym::getAt, position % 1000 + 1);
    benchmark::DoNotOptimize(element.object());
    ++position;
  }
}
BENCHMARK(listGetAtMethod);

void listItem(benchmark::State& state) {
  Value list = numberedList(1000);
  int32_t position = 0;
  for (auto _ : state) {
    Value element = list.item(position % 1000 + 1);
    benchmark::DoNotOptimize(element.object());
    ++position;
  }
}
BENCHMARK(listItem);

// getProp on 1,000 string keys: state.range(0) is 1 for a sorted list (binary search), 0 for
// an unsorted one (linear scan).
void propListGetProp(benchmark::State& state) {
  auto* table = new PropListObject();
  Value held = Value::adopt(table);
  std::vector<Value> keys;
  for (int32_t i = 0; i < 1000; ++i) {
    keys.emplace_back("label" + std::to_string((i * 7919) % 1000));
    table->add(keys.back(), Value(i));
  }
  if (state.range(0)) table->sort();
  size_t next = 0;
  for (auto _ : state) {
    Value found = held.call(sym::getProp, keys[next]);
    benchmark::DoNotOptimize(found.object());
    next = (next + 1) % keys.size();
  }
}
BENCHMARK(propListGetProp)->Arg(1)->Arg(0);

void getChunkWord500(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += (i % 10 == 9 ? "word\r" : "word ");
  Value target(text);
  Value word = Value::symbol(sym::word);
  for (auto _ : state) {
    Value chunk = target.call(sym::getChunk, word, 500, 500);
    benchmark::DoNotOptimize(chunk.object());
  }
}
BENCHMARK(getChunkWord500);

void rectIntersectMethod(benchmark::State& state) {
  Value a = makeRect(0, 0, 100, 80), b = makeRect(50, 40, 150, 120);
  for (auto _ : state) {
    Value overlap = a.call(sym::intersect, b);
    benchmark::DoNotOptimize(overlap.object());
  }
}
BENCHMARK(rectIntersectMethod);

void rectIntersectPredicate(benchmark::State& state) {
  IntRect a{0, 0, 100, 80}, b{50, 40, 150, 120};
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(rectsIntersect(a, b) ? rectIntersection(a, b) : IntRect{});
  }
}
BENCHMARK(rectIntersectPredicate);

}  // namespace
}  // namespace qn
