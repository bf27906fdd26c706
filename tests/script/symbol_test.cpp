#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "script/handler_call.h"
#include "script/scalars.h"
#include "script/script_host.h"
#include "script/symbol_object.h"
#include "script/symbol_table.h"

namespace qn {
namespace {

class SymbolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    initValueModel();
    SymbolTable::global().clear();
    SymbolTable::global().addBuiltins();
  }
  void TearDown() override { shutdownValueModel(); }
};

TEST_F(SymbolTest, TableRefusesTakenNumbersAndNamesIgnoringCase) {
  SymbolTable& table = SymbolTable::global();
  EXPECT_EQ(table.symbolName(sym::locH), "locH");
  EXPECT_EQ(table.symbolName(sym::size), "size");
  EXPECT_EQ(table.symbolName(sym::unused), "");
  EXPECT_FALSE(table.addSymbol(500, "LocH"));
  EXPECT_FALSE(table.addSymbol(sym::locH, "somethingNew"));
  EXPECT_EQ(table.symbolName(500), "");
  EXPECT_TRUE(table.addSymbol(365, "pBallList"));
  EXPECT_FALSE(table.addSymbol(366, "PBALLLIST"));  // the first pair entered wins
  EXPECT_EQ(table.symbolName(365), "pBallList");
}

// A named symbol constant becomes a symbol Value, never the integer of its number, so comparing a
// value with it compares symbols.
static_assert(std::is_convertible_v<Symbol, Value>);
TEST_F(SymbolTest, NamedConstantsMakeSymbolValues) {
  const Value mode = sym::locH;
  EXPECT_TRUE(mode.is(sym::symbol));
  EXPECT_TRUE(mode == sym::locH);
  EXPECT_FALSE(mode == Value(SymbolNumber{sym::locH})) << "the integer 125 is not #locH";
  EXPECT_FALSE(Value(SymbolNumber{sym::locH}) == sym::locH);
  switch (mode.ilk() == sym::symbol ? SymbolNumber{sym::locH} : 0) {
    case sym::locH: break;
    default: ADD_FAILURE() << "symbols switch like their numbers";
  }
}

TEST_F(SymbolTest, SymbolValuesPrintAndCompareByName) {
  EXPECT_EQ(Value::symbol(sym::locH).toString(), "#locH");
  EXPECT_EQ(Value::symbol(sym::unused).toString(), "#");
  EXPECT_EQ(stringOf(Value::symbol(sym::locH)), "locH");
  EXPECT_TRUE(Value::symbol(sym::locH) == Value::symbol(sym::locH));
  SymbolTable::global().addSymbol(400, "a");
  SymbolTable::global().addSymbol(401, "B");
  EXPECT_TRUE(Value::symbol(400) < Value::symbol(401));
  EXPECT_TRUE(Value::symbol(401) > Value::symbol(400));
  EXPECT_TRUE(Value::symbol(402) == Value::symbol(403));  // both without a name
  Value symbol = Value::symbol(sym::locH);
  ScriptObject* same = symbol.object()->duplicate();
  EXPECT_EQ(same, symbol.object());
  same->release();
  EXPECT_EQ(symbolOf(symbol.getProperty(sym::ilk)), sym::symbol);
}

// A compiled script class the way the movie writes them: a switch on the method symbol.
class Counter final : public ScriptObject {
 public:
  static constexpr SymbolNumber kAddTwo = 365;
  static constexpr SymbolNumber kCountArguments = 366;
  Counter() : ScriptObject(sym::instance) {}
  void toString(std::string& out) const override { out += "<offspring counter>"; }
  ScriptObject* duplicate() override { return voidObject(); }
  void invoke(Value& result, SymbolNumber method, int argc, Value* const* argv) override {
    invokeWithMe(*this, result, method, argc, argv);
  }
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override {
    lastArgc = argc;
    lastFlag = flag;
    if (argc > 0) lastMe = argv[0]->object();
    switch (method) {
      case kAddTwo: return runHandler(&Counter::addTwo, *this, argc, argv, result);
      case kCountArguments: result = Value(argc); return true;
      case sym::new_: result = *argv[0]; created = true; return true;
      default: return false;
    }
  }
  Value addTwo(const Value& a, const Value& b) {
    secondWasVoid = b.isVoid();
    return a + b;
  }

  int lastArgc = 0;
  bool lastFlag = true;
  bool secondWasVoid = false;
  bool created = false;
  ScriptObject* lastMe = nullptr;
};

class ScriptMemberFake final : public ScriptObject {
 public:
  ScriptMemberFake() : ScriptObject(sym::script) {}
  void toString(std::string& out) const override { out += "(script)"; }
  ScriptObject* duplicate() override { retain(); return this; }
  void invoke(Value& result, SymbolNumber method, int argc, Value* const* argv) override {
    invokeWithMe(*this, result, method, argc, argv);
  }
};

TEST_F(SymbolTest, HandlerCallsFillMissingArgumentsAndPutMeFirst) {
  Value counter = Value::adopt(new Counter());
  auto& object = static_cast<Counter&>(*counter.object());
  Value sum = counter.call(Counter::kAddTwo, 5);
  EXPECT_EQ(sum.toInteger(), 5);
  EXPECT_TRUE(object.secondWasVoid);
  EXPECT_EQ(object.lastArgc, 2);
  EXPECT_EQ(object.lastMe, counter.object());
  EXPECT_TRUE(object.lastFlag);
  EXPECT_EQ(counter.call(Counter::kAddTwo, 5, 6, 7).toInteger(), 11);  // surplus ignored

  // More than eight arguments go through a heap vector; all of them arrive in order.
  Value many = counter.call(Counter::kCountArguments, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10);
  EXPECT_EQ(many.toInteger(), 11);
  Value unknown = counter.call(sym::locH);
  EXPECT_TRUE(unknown.isVoid());
}

TEST_F(SymbolTest, NewOnAScriptMemberRunsTheNewInstancesHandler) {
  struct Host final : ScriptHost {
    int32_t floatPrecision() const override { return 4; }
    bool handleGlobal(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override {
      EXPECT_EQ(method, sym::new_);
      EXPECT_EQ(argc, 1);
      EXPECT_TRUE(argv[0]->is(sym::script));
      EXPECT_FALSE(flag);
      made = Value::adopt(new Counter());
      result = made;
      return true;
    }
    Value made;
  } host;
  setScriptHost(&host);
  Value script = Value::adopt(new ScriptMemberFake());
  Value instance = script.call(sym::new_, 42);
  setScriptHost(nullptr);

  ASSERT_TRUE(instance.sameObject(host.made));
  auto& counter = static_cast<Counter&>(*instance.object());
  EXPECT_TRUE(counter.created);
  EXPECT_EQ(counter.lastMe, instance.object());  // me is the new instance, not the script
  EXPECT_EQ(counter.lastArgc, 2);
  EXPECT_FALSE(counter.lastFlag);
}

}  // namespace
}  // namespace qn
