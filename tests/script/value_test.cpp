#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "script/report_error.h"
#include "script/scalars.h"
#include "script/script_host.h"
#include "script/small_block_pool.h"
#include "script/symbol_object.h"
#include "script/value.h"

namespace qn {
namespace {

// A string-like operand with the readings a string gives ("%d" and "%f" prefixes), enough to
// check the promotion rules of the scalars without the string class.
class TextLike final : public ScriptObject {
 public:
  TextLike(bool integerLike, int32_t integer, bool floatLike, double number)
      : ScriptObject(sym::string), integerLike_(integerLike), floatLike_(floatLike), integer_(integer), number_(number) {}
  void toString(std::string& out) const override { out += "text"; }
  ScriptObject* duplicate() override { return new TextLike(integerLike_, integer_, floatLike_, number_); }
  bool isIntegerLike() const override { return integerLike_; }
  bool isFloatLike() const override { return floatLike_; }
  int32_t toInteger() const override { return integer_; }
  double toFloat() const override { return number_; }

 private:
  bool integerLike_, floatLike_;
  int32_t integer_;
  double number_;
};

Value text(bool integerLike, int32_t integer, bool floatLike, double number) {
  return Value::adopt(new TextLike(integerLike, integer, floatLike, number));
}

std::string captured;
void captureError(std::string_view line) { captured += line; }

class ValueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    initValueModel();
    captured.clear();
    setErrorSink(captureError);
  }
  void TearDown() override {
    setErrorSink(nullptr);
    shutdownValueModel();
  }
};

TEST_F(ValueTest, ComparisonAcrossScalarTypes) {
  Value nothing, zero(0), one(1), zeroFloat(0.0), oneFloat(1.0);
  EXPECT_TRUE(nothing == zero);
  EXPECT_TRUE(zero == nothing);
  EXPECT_FALSE(nothing == zeroFloat);
  EXPECT_FALSE(nothing < oneFloat);
  EXPECT_TRUE(nothing < one);
  EXPECT_TRUE(Value(-3) < nothing);
  EXPECT_TRUE(oneFloat == one);
  EXPECT_TRUE(Value(0.1) + Value(0.2) == Value(0.3));  // within the 1e-13 tolerance
  EXPECT_FALSE(Value(0.1) == Value(0.1 + 1e-12));
  // Incomparable values are neither equal nor ordered.
  Value nan(std::nan(""));
  EXPECT_EQ(nan.compare(one, false), kIncomparable);
  EXPECT_FALSE(nan == one);
  EXPECT_TRUE(nan != one);
  EXPECT_FALSE(nan < one || nan > one || nan <= one || nan >= one);
  // The same object is equal to itself whatever it holds.
  EXPECT_TRUE(nan == nan);
}

TEST_F(ValueTest, ComparisonWithStringLikeOperands) {
  Value three(3);
  EXPECT_TRUE(three == text(true, 3, true, 3.0));   // "3"
  EXPECT_TRUE(three == text(true, 3, true, 3.7));   // "3.7": the integer reading stops at the point
  EXPECT_FALSE(three == text(false, 0, false, 0));  // "abc"
  EXPECT_EQ(three.compare(text(false, 0, false, 0), false), kIncomparable);
  EXPECT_TRUE(Value(3.7) == text(true, 3, true, 3.7));
  EXPECT_EQ(Value().compare(text(true, 0, true, 0), false), kIncomparable);
}

TEST_F(ValueTest, IntegerArithmeticAndPromotion) {
  EXPECT_EQ((Value(7) / Value(2)).toInteger(), 3);
  EXPECT_EQ((Value(-7) / Value(2)).toInteger(), -3);
  EXPECT_EQ(mod(Value(-7), Value(2)).toInteger(), -1);
  Value half = Value(7) / Value(2.0);
  EXPECT_TRUE(half.is(sym::float_));
  EXPECT_DOUBLE_EQ(half.toFloat(), 3.5);
  Value modFloat = mod(Value(7), Value(2.6));  // 2.6 + 0.5 truncates to 3
  EXPECT_TRUE(modFloat.is(sym::integer));
  EXPECT_EQ(modFloat.toInteger(), 1);
  Value sum = Value() + Value(5);
  EXPECT_TRUE(sum.is(sym::integer));
  EXPECT_EQ(sum.toInteger(), 5);
  EXPECT_EQ((Value(5) + Value()).toInteger(), 5);
  Value withText = Value(3) + text(true, 2, true, 2.0);
  EXPECT_TRUE(withText.is(sym::float_));
  EXPECT_DOUBLE_EQ(withText.toFloat(), 5.0);
  EXPECT_TRUE((Value(3) + text(false, 0, false, 0)).isVoid());
  EXPECT_TRUE(mod(Value(3), text(false, 0, true, 2.5)).isVoid());  // not integer-like
  EXPECT_TRUE(arithmetic(Value(3), sym::locH, Value(1)).isVoid());  // not an operator
  EXPECT_EQ((-Value(4)).toInteger(), -4);
  EXPECT_DOUBLE_EQ((-Value(2.5)).toFloat(), -2.5);
  // 32-bit two's-complement wrap, never a trap.
  EXPECT_EQ((Value(INT32_MAX) + Value(1)).toInteger(), INT32_MIN);
  EXPECT_EQ((Value(INT32_MIN) / Value(-1)).toInteger(), INT32_MIN);
  EXPECT_EQ(mod(Value(INT32_MIN), Value(-1)).toInteger(), 0);
}

TEST_F(ValueTest, DivisionByZeroGivesZeroAndReports) {
  for (const Value& divisor : {Value(0), Value(), Value(0.2), text(true, 0, true, 0.0)}) {
    captured.clear();
    Value quotient = Value(7) / divisor;
    Value remainder = mod(Value(7), divisor);
    EXPECT_EQ(remainder.toInteger(), 0);
    EXPECT_EQ(captured.find("-- Division by zero\r\n"), 0u);
    if (quotient.is(sym::integer)) {
      EXPECT_EQ(quotient.toInteger(), 0);
    }
  }
  EXPECT_TRUE(std::isinf((Value(1.0) / Value(0)).toFloat()));  // floats follow IEEE
}

TEST_F(ValueTest, FloatRoundingAndText) {
  EXPECT_EQ(Value(2.5).toInteger(), 3);
  EXPECT_EQ(Value(-2.5).toInteger(), -3);
  EXPECT_EQ(Value(2.49).toInteger(), 2);
  EXPECT_EQ(Value(1e12).toInteger(), INT32_MAX);
  EXPECT_EQ(Value(1.5).toString(), "1.5000");
  std::string text0;
  appendFloatText(text0, 1.5, 0);
  EXPECT_EQ(text0, "2");
  std::string text2;
  appendFloatText(text2, -0.125, 2);
  EXPECT_EQ(text2, "-0.12");
  EXPECT_EQ(Value().toString(), "<Void>");
  EXPECT_EQ(Value(-42).toString(), "-42");
}

TEST_F(ValueTest, FloatTextFollowsTheHostsPrecision) {
  struct Host final : ScriptHost {
    int32_t floatPrecision() const override { return 1; }
    bool handleGlobal(SymbolNumber, int, Value&, Value* const*, bool) override { return false; }
  } host;
  setScriptHost(&host);
  EXPECT_EQ(Value(2.25).toString(), "2.2");
  setScriptHost(nullptr);
  EXPECT_EQ(Value(2.25).toString(), "2.2500");
}

TEST_F(ValueTest, ObjectsWithoutArithmeticReportAndYieldThemselves) {
  Value operand = text(true, 1, true, 1.0);
  Value result = operand + Value(1);
  EXPECT_TRUE(result.sameObject(operand));
  EXPECT_EQ(captured, "-- This object does not support arithmetic operations\r\n");
  captured.clear();
  EXPECT_EQ(operand.count(), 0);
  EXPECT_EQ(captured, "-- This object does not support the count() function\r\n");
  EXPECT_EQ(symbolOf(operand.getProperty(sym::ilk)), sym::string);
  EXPECT_TRUE(operand.getProperty(sym::locH).isVoid());
}

TEST_F(ValueTest, LifetimeAndSharing) {
  SmallBlockPool& pool = SmallBlockPool::shared();
  size_t before = pool.cellsInUse();
  {
    Value a(5);
    Value b = a;
    EXPECT_EQ(a.object()->refCount(), 2);
    b = Value(6);
    EXPECT_EQ(a.object()->refCount(), 1);
    Value moved = std::move(a);
    EXPECT_TRUE(a.isVoid());
    moved = moved;  // self-assignment changes nothing
    EXPECT_EQ(moved.toInteger(), 5);
    for (int i = 0; i < 1000; ++i) {
      Value v(i);
      v = Value(i * 0.5) + Value(1);
    }
  }
  EXPECT_EQ(pool.cellsInUse(), before);
  // Releasing void many times never destroys the shared instance.
  ScriptObject* shared = voidObject();
  for (int i = 0; i < 100000; ++i) {
    Value nothing;
    Value copy = nothing;
  }
  EXPECT_EQ(Value().object(), shared);
  EXPECT_EQ(Value().toString(), "<Void>");
}

TEST(SmallBlockPoolTest, CellsChunksAndTheHeapBoundary) {
  SmallBlockPool pool;
  void* first = pool.allocate();
  EXPECT_EQ(pool.chunkCount(), 1u);
  EXPECT_EQ(static_cast<uint8_t*>(first)[8], SmallBlockPool::kFreshFill);  // past the link word
  std::vector<void*> cells{first};
  for (int i = 1; i < 100; ++i) cells.push_back(pool.allocate());
  EXPECT_EQ(pool.chunkCount(), 1u);
  cells.push_back(pool.allocate());
  EXPECT_EQ(pool.chunkCount(), 2u);
  EXPECT_EQ(pool.cellsInUse(), 101u);
  EXPECT_FALSE(pool.releaseIfIdle());  // cells in use: chunks stay
  for (void* cell : cells) pool.free(cell);
  EXPECT_EQ(pool.cellsInUse(), 0u);
  void* reused = pool.allocate();
  EXPECT_EQ(reused, cells.back());  // last freed, first reused
  pool.free(reused);
  EXPECT_TRUE(pool.releaseIfIdle());
  EXPECT_EQ(pool.chunkCount(), 0u);

  SmallBlockPool& shared = SmallBlockPool::shared();
  size_t before = shared.cellsInUse();
  void* small = allocateBlock(32);
  EXPECT_EQ(shared.cellsInUse(), before + 1);
  void* large = allocateBlock(33);
  EXPECT_EQ(shared.cellsInUse(), before + 1);
  freeBlock(large, 33);
  freeBlock(small, 32);
  EXPECT_EQ(shared.cellsInUse(), before);
}

}  // namespace
}  // namespace qn
