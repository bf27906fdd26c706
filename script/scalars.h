// Integers and floats (void lives with the value model in value.h). Their comparison, arithmetic and text rules live in scalars.cpp.
#pragma once

#include "script/value.h"

namespace qn {

class IntegerObject final : public ScriptObject {
 public:
  explicit IntegerObject(int32_t value) : ScriptObject(sym::integer), value_(value) {}
  int32_t value() const { return value_; }
  void toString(std::string& out) const override;
  ScriptObject* duplicate() override { return new IntegerObject(value_); }
  int compare(const Value& other, bool ordering) const override;
  void arithmetic(Value& result, SymbolNumber op, const Value& other) override;
  bool isIntegerLike() const override { return true; }
  bool isFloatLike() const override { return true; }
  int32_t toInteger() const override { return value_; }
  double toFloat() const override { return value_; }

 private:
  int32_t value_;
};

class FloatObject final : public ScriptObject {
 public:
  explicit FloatObject(double value) : ScriptObject(sym::float_), value_(value) {}
  double value() const { return value_; }
  void toString(std::string& out) const override;
  ScriptObject* duplicate() override { return new FloatObject(value_); }
  int compare(const Value& other, bool ordering) const override;
  void arithmetic(Value& result, SymbolNumber op, const Value& other) override;
  bool isIntegerLike() const override { return true; }
  bool isFloatLike() const override { return true; }
  int32_t toInteger() const override;
  double toFloat() const override { return value_; }

 private:
  double value_;
};

static_assert(sizeof(IntegerObject) <= 32 && sizeof(FloatObject) <= 32, "scalars live in pool cells");

// Rounds half away from zero and saturates to the 32-bit range (not-a-number gives 0), the way
// every float-to-integer conversion in the script world rounds.
int32_t roundToInteger(double value);
// Truncates toward zero, saturating likewise.
int32_t truncateToInteger(double value);

// Text of a float at a given precision: printf "%1.0<precision>f".
void appendFloatText(std::string& out, double value, int32_t precision);

// Arithmetic with a number on the left and a compound value (point, rect, list, integer list) on
// the right: the compound's class registers how it combines element by element, keyed by ilk.
using NumberOnLeftArithmetic = void (*)(Value& result, SymbolNumber op, const Value& number,
                                        const Value& compound);
void registerNumberOnLeftArithmetic(SymbolNumber ilk, NumberOnLeftArithmetic combine);

}  // namespace qn
