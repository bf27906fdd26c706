#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "script/int_list_object.h"
#include "script/list_object.h"
#include "script/prop_list_object.h"
#include "script/scalars.h"
#include "script/small_block_pool.h"
#include "script/symbol_object.h"
#include "script/symbol_prop_list_object.h"
#include "script/symbol_table.h"
#include "tests/script/script_fixture.h"

namespace qn {
namespace {

using ListTest = ScriptFixture;

Value sym_(SymbolNumber number) { return Value::symbol(number); }

Value intList(std::initializer_list<int32_t> items) {
  auto* list = new IntListObject();
  Value made = Value::adopt(list);
  for (int32_t item : items) list->append(Value(item));
  return made;
}

TEST_F(ListTest, PositionsOutsideTheListReadAsVoidAndWritesGrowWithZero) {
  Value list = makeIntegerList({10, 20});
  EXPECT_TRUE(list.call(sym::getAt, 0).isVoid());
  EXPECT_TRUE(list.call(sym::getAt, 3).isVoid());
  EXPECT_EQ(list.call(sym::getAt, 1.6).toInteger(), 20);  // positions round
  EXPECT_EQ(list.item(1).toInteger(), 10);
  EXPECT_TRUE(list.item(-5).isVoid());

  list.call(sym::sort);
  Value result = list.call(sym::setAt, 5, 7);
  EXPECT_TRUE(result.isVoid());
  EXPECT_EQ(list.toString(), "[10, 20, 0, 0, 7]");
  EXPECT_FALSE(listOf(list)->sorted());
  EXPECT_TRUE(list.item(3).sameObject(sharedZero));

  // Positions below 1 change nothing, for setAt and addAt alike.
  list.call(sym::setAt, 0, 99);
  list.call(sym::setAt, -3, 99);
  list.call(sym::addAt, 0, 99);
  list.call(sym::addAt, Value::symbol(sym::locH), 99);  // not integer-like
  EXPECT_EQ(list.toString(), "[10, 20, 0, 0, 7]");
  list.call(sym::addAt, 2, 15);
  list.call(sym::addAt, 8, 8);
  EXPECT_EQ(list.toString(), "[10, 15, 20, 0, 0, 7, 0, 8]");

  // getLast of an empty list reads the missing position: void, or 0 in an integer list.
  Value empty = makeList({});
  EXPECT_TRUE(empty.call(sym::getLast).isVoid());
  EXPECT_EQ(list.call(sym::getLast).toInteger(), 8);
  Value emptyIntegers = intList({});
  Value last = emptyIntegers.call(sym::getLast);
  EXPECT_TRUE(last.is(sym::integer));
  EXPECT_EQ(last.toInteger(), 0);
  EXPECT_EQ(intList({4, 5}).call(sym::getAt, 9).toInteger(), 0);
}

TEST_F(ListTest, SortedAddKeepsOrderAndFindPosNear) {
  Value list = makeIntegerList({4, 1, 2});
  EXPECT_EQ(list.call(sym::findPosNear, 2).toInteger(), 3);  // unsorted: as findPos
  list.call(sym::sort);
  EXPECT_TRUE(list.call(sym::add, 3).sameObject(list));
  EXPECT_EQ(list.toString(), "[1, 2, 3, 4]");
  EXPECT_EQ(list.call(sym::findPosNear, 3.5).toInteger(), 4);
  EXPECT_EQ(list.call(sym::findPosNear, 9).toInteger(), 5);
  EXPECT_EQ(list.call(sym::findPosNear, -1).toInteger(), 1);
  // An equal element goes after those already there.
  list.call(sym::add, 2.0);
  EXPECT_TRUE(list.item(2).is(sym::integer));
  EXPECT_TRUE(list.item(3).is(sym::float_));
  EXPECT_TRUE(listOf(list)->sorted());
  list.call(sym::append, 0);
  EXPECT_FALSE(listOf(list)->sorted());
  list.call(sym::add, -1);  // unsorted add appends
  EXPECT_EQ(list.call(sym::getLast).toInteger(), -1);
}

TEST_F(ListTest, SearchDeleteAndArgumentCounts) {
  Value list = makeIntegerList({5, 6, 5, 7});
  EXPECT_EQ(list.call(sym::findPos, 5).toInteger(), 1);
  EXPECT_EQ(list.call(sym::getPos, 8).toInteger(), 0);
  list.call(sym::deleteOne, 5);
  EXPECT_EQ(list.toString(), "[6, 5, 7]");
  list.call(sym::deleteAt, 4);  // out of range: nothing
  list.call(sym::deleteAt, 0);
  list.call(sym::deleteProp, 1);
  EXPECT_EQ(list.toString(), "[5, 7]");
  EXPECT_EQ(list.call(sym::max_).toInteger(), 7);
  EXPECT_EQ(list.call(sym::min_).toInteger(), 5);
  EXPECT_EQ(makeList({}).call(sym::max_).toInteger(), 0);

  // A wrong argument count is not handled: nothing changes and the answer is integer 0.
  Value result;
  Value one(1);
  EXPECT_FALSE(list.object()->handle(sym::append, 2, result, std::vector<Value*>{&one, &one}.data(), true));
  EXPECT_EQ(result.toInteger(), 0);
  EXPECT_TRUE(list.call(sym::getAt).is(sym::integer));
  EXPECT_EQ(list.call(sym::count).toInteger(), 2);
  EXPECT_EQ(list.call(sym::locH).toInteger(), 0);  // unknown method
  EXPECT_EQ(symbolOf(list.call(sym::ilk)), sym::list);
  EXPECT_EQ(list.getProperty(sym::count).toInteger(), 2);
  list.call(sym::deleteAll);
  EXPECT_EQ(list.count(), 0);
}

TEST_F(ListTest, TextForms) {
  EXPECT_EQ(makeList({}).toString(), "[]");
  EXPECT_EQ(makePropList({}).toString(), "[:]");
  EXPECT_EQ(Value::adopt(new PropListObject()).toString(), "[:]");
  // Entries print in symbol-number order, not literal order.
  Value record = makePropList({sym_(sym::locV), Value(2), sym_(sym::locH), Value(1), Value(3), Value(4)});
  EXPECT_EQ(record.toString(), "[#locH: 1, #locV: 2]");
  EXPECT_EQ(makeList({Value(1.5), makeList({}), sym_(sym::rect), Value()}).toString(),
            "[1.5000, [], #rect, <Void>]");
  EXPECT_EQ(intList({-1, 2}).toString(), "[-1, 2]");
  EXPECT_TRUE(makeIntegerList({0, 1, 0}).item(3).sameObject(sharedZero));
  EXPECT_TRUE(makeIntegerList({1}).item(1).sameObject(sharedOne));
}

TEST_F(ListTest, ComparisonShorterIsLessThenElementwise) {
  EXPECT_TRUE(makeIntegerList({1, 2}) == makeIntegerList({1, 2}));
  EXPECT_TRUE(makeIntegerList({1, 2}) == intList({1, 2}));
  EXPECT_TRUE(makeIntegerList({1, 3}) > makeIntegerList({1, 2}));
  EXPECT_TRUE(makeIntegerList({9}) < makeIntegerList({1, 2}));
  EXPECT_EQ(makeIntegerList({1}).compare(Value(1), false), kIncomparable);
  EXPECT_EQ(makeList({}).compare(makePropList({}), false), kIncomparable);
  EXPECT_TRUE(makePropList({sym_(sym::locH), Value(1)}) == makePropList({sym_(sym::locV), Value(1)}));
  EXPECT_TRUE(makePropList({sym_(sym::locH), Value(2)}) > makePropList({sym_(sym::locV), Value(1)}));
}

TEST_F(ListTest, ArithmeticShorterLengthWins) {
  EXPECT_EQ((makeIntegerList({1, 2}) + Value(1)).toString(), "[2, 3]");
  EXPECT_EQ((makeIntegerList({1, 2, 3}) * makeIntegerList({2, 2})).toString(), "[2, 4]");
  EXPECT_EQ((Value(2) * makeIntegerList({1, 2})).toString(), "[2, 4]");
  EXPECT_EQ((Value(10) - makeList({Value(1), Value(0.5)})).toString(), "[9, 9.5000]");
  Value scaled = Value(0.5) * intList({3, 5});
  EXPECT_TRUE(scaled.is(sym::intList));
  EXPECT_EQ(scaled.toString(), "[2, 3]");  // rounded half away from zero
  Value sum = intList({1, 2, 3}) + Value(0.4);
  EXPECT_TRUE(sum.is(sym::intList));
  EXPECT_EQ(sum.toString(), "[1, 2, 3]");
  // With a property list: the whole list combines with each element; a symbol list gives void.
  Value record = makePropList({sym_(sym::locH), Value(1)});
  Value mixed = makeIntegerList({1, 2}) + record;
  EXPECT_EQ(mixed.toString(), "[<Void>]");
  EXPECT_TRUE((record + Value(1)).isVoid());

  auto* labels = new PropListObject();
  Value table = Value::adopt(labels);
  labels->add(Value(2), Value(20));
  labels->add(Value(1), Value(10));
  EXPECT_EQ((table * Value(2)).toString(), "[2: 40, 1: 20]");
  EXPECT_EQ((table + table).toString(), "[2: 40, 1: 20]");
}

TEST_F(ListTest, DuplicateIsDeepAndCarriesTheSortedFlag) {
  Value inner = makeIntegerList({1});
  Value outer = makeList({inner, Value(), sym_(sym::locH)});
  outer.call(sym::sort);
  Value copy = outer.call(sym::duplicate);
  EXPECT_TRUE(copy == outer);
  EXPECT_TRUE(listOf(copy)->sorted());
  inner.call(sym::append, 2);
  EXPECT_EQ(copy.toString(), "[[1], <Void>, #locH]");
  EXPECT_FALSE(copy.item(1).sameObject(outer.item(1)) || copy.item(1).sameObject(inner));
  EXPECT_TRUE(copy.item(3).sameObject(outer.item(3)));  // symbols are shared
  Value records = makePropList({sym_(sym::loc), inner});
  Value copied = records.call(sym::duplicate);
  inner.call(sym::append, 3);
  EXPECT_EQ(copied.toString(), "[#loc: [1, 2]]");
}

TEST_F(ListTest, SymbolPropertyLists) {
  Value record = makeRecord({{sym::locV, Value(20)}, {sym::locH, Value(10)}});
  SymbolPropListObject& entries = *symbolPropListOf(record);
  // setProp replaces only; setAProp adds.
  EXPECT_TRUE(record.call(sym::setProp, sym_(sym::width), 5).isVoid());
  EXPECT_FALSE(entries.has(sym::width));
  EXPECT_EQ(record.call(sym::setAProp, sym_(sym::width), 5).toInteger(), 1);
  EXPECT_EQ(entries.get(sym::width).toInteger(), 5);
  EXPECT_EQ(record.call(sym::setProp, sym_(sym::width), 6).toInteger(), 1);
  EXPECT_EQ(record.call(sym::getProp, sym_(sym::width)).toInteger(), 6);

  EXPECT_EQ(record.call(sym::getAt, 1).toInteger(), 10);  // locH (125) comes first
  EXPECT_EQ(record.call(sym::getAt, 2.2).toInteger(), 20);
  EXPECT_EQ(record.call(sym::getAt, sym_(sym::locV)).toInteger(), 20);
  EXPECT_EQ(record.call(sym::getAt, 4).toInteger(), 0);
  EXPECT_EQ(record.call(sym::getAt, makeList({})).toInteger(), 1);
  EXPECT_EQ(symbolOf(record.call(sym::getPropAt, 3)), sym::width);
  EXPECT_EQ(record.call(sym::getPropAt, 0).toInteger(), 0);
  EXPECT_TRUE(record.call(sym::findPos, sym_(sym::locH)).isVoid());

  // Methods that mean nothing here answer 1 and change nothing.
  EXPECT_EQ(record.call(sym::deleteAt, 1).toInteger(), 1);
  EXPECT_EQ(record.call(sym::sort).toInteger(), 1);
  EXPECT_EQ(record.call(sym::addProp, Value(3), Value(4)).toString(), "[#locH: 10, #locV: 20, #width: 6]");
  EXPECT_EQ(record.call(sym::max_).toInteger(), 20);
  EXPECT_EQ(record.call(sym::min_).toInteger(), 6);
  EXPECT_EQ(makePropList({}).call(sym::min_).toInteger(), 1);
  EXPECT_EQ(record.call(sym::locH).toInteger(), 1);  // unknown method

  // Properties read entries, except `count` and `ilk`, which the list answers itself.
  EXPECT_EQ(record.getProperty(sym::locH).toInteger(), 10);
  record.setProperty(sym::count, Value(99));
  EXPECT_EQ(record.getProperty(sym::count).toInteger(), 4);
  record.call(sym::deleteProp, sym_(sym::count));
  record.call(sym::deleteProp, sym_(sym::locH));
  EXPECT_EQ(record.toString(), "[#locV: 20, #width: 6]");
}

TEST_F(ListTest, GeneralPropertyListsKeepInsertionOrderUntilSorted) {
  auto* list = new PropListObject();
  Value table = Value::adopt(list);
  table.call(sym::addProp, 20, 2);
  table.call(sym::addProp, sym_(sym::locH), 1);
  table.call(sym::addProp, 10, 3);
  table.call(sym::addProp, 7, 4);
  EXPECT_EQ(table.toString(), "[20: 2, #locH: 1, 10: 3, 7: 4]");
  EXPECT_EQ(table.call(sym::getProp, 10.0).toInteger(), 3);
  EXPECT_EQ(table.call(sym::getProp, sym_(sym::locH)).toInteger(), 1);
  EXPECT_TRUE(table.call(sym::getProp, sym_(sym::locV)).isVoid());
  EXPECT_EQ(table.call(sym::findPos, 7).toInteger(), 4);
  EXPECT_TRUE(table.call(sym::findPos, 8).isVoid());
  EXPECT_EQ(table.call(sym::findPosNear, 8).toInteger(), 5);
  EXPECT_EQ(table.call(sym::getPos, 3).toInteger(), 3);
  EXPECT_EQ(table.call(sym::getAt, 2).toInteger(), 1);
  EXPECT_EQ(table.call(sym::getAt, 9).toInteger(), 0);
  EXPECT_EQ(table.call(sym::getPropAt, 4).toInteger(), 7);
  EXPECT_EQ(table.call(sym::getLast).toInteger(), 4);
  EXPECT_TRUE(table.call(sym::setProp, 99, 1).isVoid());
  EXPECT_EQ(list->size(), 4);
  table.call(sym::setAt, 1, 200);                // a number is a position
  table.call(sym::setAt, sym_(sym::locH), 100);  // anything else a key
  EXPECT_EQ(table.toString(), "[20: 200, #locH: 100, 10: 3, 7: 4]");
  table.call(sym::deleteProp, sym_(sym::locH));
  table.call(sym::deleteOne, 4);
  EXPECT_EQ(table.toString(), "[20: 200, 10: 3]");
  EXPECT_TRUE(Value::adopt(new PropListObject()).call(sym::getLast).isVoid());
  EXPECT_EQ(table.call(sym::count).toInteger(), 2);
  EXPECT_EQ(table.call(sym::count, 1).toInteger(), 1);  // wrong count: the starting answer

  table.call(sym::setAProp, 30, 300);
  table.call(sym::sort);
  EXPECT_TRUE(list->sorted());
  EXPECT_EQ(table.toString(), "[10: 3, 20: 200, 30: 300]");
  table.call(sym::addProp, 25, 250);
  table.call(sym::addProp, 20.0, 201);  // equal key: after the one already there
  EXPECT_EQ(table.toString(), "[10: 3, 20: 200, 20.0000: 201, 25: 250, 30: 300]");
  EXPECT_EQ(table.call(sym::getProp, 25).toInteger(), 250);  // binary search
  EXPECT_EQ(table.call(sym::getProp, 30).toInteger(), 300);
  EXPECT_EQ(table.call(sym::getProp, 10).toInteger(), 3);
  EXPECT_TRUE(table.call(sym::getProp, 11).isVoid());
  EXPECT_EQ(table.call(sym::findPosNear, 21).toInteger(), 4);
  EXPECT_EQ(table.call(sym::findPosNear, 99).toInteger(), 6);
  Value copy = table.call(sym::duplicate);
  EXPECT_TRUE(static_cast<PropListObject*>(copy.object())->sorted());
  EXPECT_TRUE(copy == table);
  EXPECT_EQ(list->findValueIgnoringCase(Value(250)), 4);
}

// Symbols without a name print alike and compare equal by name; every search of a property list
// tells them apart by number, sorted or not.
TEST_F(ListTest, SymbolKeysWithoutNamesAreFoundByNumber) {
  Value table = Value::adopt(new PropListObject());
  table.call(sym::addProp, sym_(5000), 1);
  table.call(sym::addProp, sym_(5001), 2);
  EXPECT_EQ(table.call(sym::getProp, sym_(5001)).toInteger(), 2);
  EXPECT_EQ(table.call(sym::findPos, sym_(5001)).toInteger(), 2);
  table.call(sym::setProp, sym_(5001), 20);
  table.call(sym::setAProp, sym_(5000), 10);
  EXPECT_EQ(table.toString(), "[#: 10, #: 20]");
  table.call(sym::sort);
  EXPECT_EQ(table.call(sym::getProp, sym_(5001)).toInteger(), 20);
  EXPECT_EQ(table.call(sym::getProp, sym_(5000)).toInteger(), 10);
  table.call(sym::deleteProp, sym_(5001));
  EXPECT_EQ(table.toString(), "[#: 10]");
  EXPECT_TRUE(table.call(sym::getProp, sym_(5001)).isVoid());
}

// A list that holds itself can be printed, copied, compared and combined: the walk stops at a
// fixed depth instead of running out of stack.
TEST_F(ListTest, SelfContainingListsStopAtADepth) {
  Value list = makeIntegerList({1});
  listOf(list)->append(list);
  Value record = makePropList({sym_(sym::loc), list});
  listOf(list)->append(record);
  EXPECT_EQ(list.toString(), "[1, [...], [#loc: [...]]]");
  Value copy = list.duplicate();
  EXPECT_EQ(copy.toString(), "[1, [], [#loc: []]]");
  EXPECT_EQ(list.compare(list.duplicate(), false), kIncomparable);
  Value other = list.duplicate();
  EXPECT_TRUE(copy == other);
  Value sum = list + Value(1);
  Value product = Value(2) * list;
  EXPECT_EQ(sum.toString(), "[2, <Void>, <Void>]");
  EXPECT_EQ(product.toString(), "[2, <Void>, <Void>]");  // numbers do not combine with records
  // Cycles are not collected: break them so the cells come back.
  for (Value* held : {&list, &copy, &other, &sum, &product}) listOf(*held)->clear();
}

// A script instance answers `duplicate` with a new void; in a copied list it is void.
TEST_F(ListTest, InstancesBecomeVoidInACopy) {
  class Instance final : public ScriptObject {
   public:
    Instance() : ScriptObject(sym::instance) {}
    void toString(std::string& out) const override { out += "<offspring>"; }
    ScriptObject* duplicate() override { return new VoidObject(); }
  };
  Value list = makeList({Value::adopt(new Instance()), Value(1)});
  Value copy = list.call(sym::duplicate);
  EXPECT_EQ(copy.toString(), "[<Void>, 1]");
}

// Values of mixed kinds are not totally ordered; sorting them must stay inside the list, and
// integers alone must come out ascending.
TEST_F(ListTest, SortStaysInsideTheListWhateverTheOrdering) {
  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    auto* list = new ListObject();
    Value held = Value::adopt(list);
    int length = static_cast<int>(random() % 300);
    for (int i = 0; i < length; ++i) {
      switch (random() % 4) {
        case 0: list->append(Value(static_cast<int32_t>(random() % 50))); break;
        case 1: list->append(Value(std::nan(""))); break;
        case 2: list->append(sym_(sym::locH + static_cast<SymbolNumber>(random() % 5))); break;
        default: list->append(makeIntegerList({static_cast<int32_t>(random() % 3)})); break;
      }
    }
    list->sort();
    EXPECT_EQ(list->size(), length);
  }
  std::vector<int32_t> numbers(1000);
  for (int32_t& n : numbers) n = static_cast<int32_t>(random() % 100) - 50;
  Value list = makeList({});
  Value integers = intList({});
  for (int32_t n : numbers) {
    listOf(list)->append(Value(n));
    static_cast<IntListObject*>(integers.object())->append(Value(n));
  }
  list.call(sym::sort);
  integers.call(sym::sort);
  std::sort(numbers.begin(), numbers.end());
  for (size_t i = 0; i < numbers.size(); ++i) {
    ASSERT_EQ(list.item(static_cast<int32_t>(i + 1)).toInteger(), numbers[i]);
    ASSERT_EQ(integers.item(static_cast<int32_t>(i + 1)).toInteger(), numbers[i]);
  }
}

TEST_F(ListTest, ObjectsLiveInPoolCells) {
  SmallBlockPool& pool = SmallBlockPool::shared();
  size_t before = pool.cellsInUse();
  {
    Value list = makeList({});
    EXPECT_EQ(pool.cellsInUse(), before + 1);
    listOf(list)->append(sharedOne);
    EXPECT_EQ(pool.cellsInUse(), before + 2);  // two elements fit the first element block
    Value record = makePropList({});
    EXPECT_EQ(pool.cellsInUse(), before + 3);
  }
  EXPECT_EQ(pool.cellsInUse(), before);
}

}  // namespace
}  // namespace qn
