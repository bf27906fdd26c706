#include <benchmark/benchmark.h>

#include "script/handler_call.h"
#include "script/small_block_pool.h"
#include "script/value.h"

namespace qn {
namespace {

void integerAdd(benchmark::State& state) {
  Value a(12345), b(678);
  for (auto _ : state) {
    Value sum = a + b;
    benchmark::DoNotOptimize(sum.object());
  }
}
BENCHMARK(integerAdd);

void integerCompare(benchmark::State& state) {
  Value a(12345), b(678);
  for (auto _ : state) benchmark::DoNotOptimize(a < b);
}
BENCHMARK(integerCompare);

struct Cell {
  unsigned char bytes[32];
};

void poolAllocateFree(benchmark::State& state) {
  SmallBlockPool& pool = SmallBlockPool::shared();
  void* cells[64];
  for (auto _ : state) {
    for (void*& cell : cells) cell = pool.allocate();
    benchmark::DoNotOptimize(cells);
    for (void* cell : cells) pool.free(cell);
  }
  state.SetItemsProcessed(state.iterations() * 64);
}
BENCHMARK(poolAllocateFree);

void heapNewDelete(benchmark::State& state) {
  Cell* cells[64];
  for (auto _ : state) {
    for (Cell*& cell : cells) cell = new Cell;
    benchmark::DoNotOptimize(cells);
    for (Cell* cell : cells) delete cell;
  }
  state.SetItemsProcessed(state.iterations() * 64);
}
BENCHMARK(heapNewDelete);

class Adder final : public ScriptObject {
 public:
  Adder() : ScriptObject(sym::instance) {}
  void toString(std::string& out) const override { out += "<offspring adder>"; }
  ScriptObject* duplicate() override { return voidObject(); }
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) override {
    if (method != sym::add) return false;
    return runHandler(&Adder::add3, *this, argc + 1, argv - 1, result);
  }
  Value add3(const Value& a, const Value& b, const Value& c) { return a + b + c; }
};

void invokeThreeArguments(benchmark::State& state) {
  Value adder = Value::adopt(new Adder());
  Value a(1), b(2), c(3);
  for (auto _ : state) {
    Value result;
    adder.invoke(result, sym::add, a, b, c);
    benchmark::DoNotOptimize(result.object());
  }
}
BENCHMARK(invokeThreeArguments);

}  // namespace
}  // namespace qn

// Our own main: the shared integers are made once every static object is constructed (a static
// initializer here could run before the one that constructs sharedZero).
int main(int argc, char** argv) {
  qn::initValueModel();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  qn::shutdownValueModel();
  return 0;
}
