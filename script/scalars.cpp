// Comparison, arithmetic and text of void, integers and floats, and the promotion rules between
// them and string-like or compound operands.
#include "script/scalars.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "script/report_error.h"
#include "script/script_host.h"

namespace qn {

namespace {

constexpr double kFloatTolerance = 1e-13;

std::array<NumberOnLeftArithmetic, sym::lastBuiltin - sym::firstBuiltin + 1> numberOnLeftTable{};

NumberOnLeftArithmetic numberOnLeftFor(SymbolNumber ilk) {
  if (ilk < sym::firstBuiltin || ilk > sym::lastBuiltin) return nullptr;
  return numberOnLeftTable[static_cast<size_t>(ilk - sym::firstBuiltin)];
}

bool isArithmeticOperator(SymbolNumber op) {
  return op == sym::add || op == sym::subtract || op == sym::multiply || op == sym::divide || op == sym::mod;
}

int sign(int64_t x) { return x > 0 ? kGreater : (x < 0 ? kLess : kEqual); }

int compareDoubles(double d, double f) {
  if (std::fabs(d - f) < kFloatTolerance) return kEqual;
  if (d > f) return kGreater;
  if (d < f) return kLess;
  return kIncomparable;
}

// 32-bit two's-complement arithmetic without undefined behaviour. Division or mod by zero gives 0
// and reports it: the script goes on with a harmless value.
int32_t integerOperation(SymbolNumber op, int32_t x, int32_t y) {
  auto ux = static_cast<uint32_t>(x);
  auto uy = static_cast<uint32_t>(y);
  switch (op) {
    case sym::add: return static_cast<int32_t>(ux + uy);
    case sym::subtract: return static_cast<int32_t>(ux - uy);
    case sym::multiply: return static_cast<int32_t>(ux * uy);
    default: break;
  }
  if (y == 0) {
    reportError("Division by zero");
    return 0;
  }
  if (y == -1) return op == sym::divide ? static_cast<int32_t>(0u - ux) : 0;  // INT_MIN / -1 wraps
  return op == sym::divide ? x / y : x % y;
}

double floatOperation(SymbolNumber op, double x, double y) {
  switch (op) {
    case sym::add: return x + y;
    case sym::subtract: return x - y;
    case sym::multiply: return x * y;
    default: return x / y;
  }
}

bool combineWithCompound(Value& result, SymbolNumber op, const Value& number, const Value& other) {
  NumberOnLeftArithmetic combine = numberOnLeftFor(other.ilk());
  if (!combine) return false;
  combine(result, op, number, other);
  return true;
}

}  // namespace

int32_t truncateToInteger(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

int32_t roundToInteger(double value) { return truncateToInteger(value < 0 ? value - 0.5 : value + 0.5); }

void appendFloatText(std::string& out, double value, int32_t precision) {
  char format[32];
  std::snprintf(format, sizeof format, "%%1.0%df", precision);
  char text[400];  // the longest double printed with any sane precision
  int length = std::snprintf(text, sizeof text, format, value);
  if (length < 0) return;
  if (static_cast<size_t>(length) < sizeof text) {
    out.append(text, static_cast<size_t>(length));
  } else {
    std::string wide(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(wide.data(), wide.size(), format, value);
    out.append(wide.data(), static_cast<size_t>(length));
  }
}

void registerNumberOnLeftArithmetic(SymbolNumber ilk, NumberOnLeftArithmetic combine) {
  if (ilk >= sym::firstBuiltin && ilk <= sym::lastBuiltin)
    numberOnLeftTable[static_cast<size_t>(ilk - sym::firstBuiltin)] = combine;
}

// ---- void

// The shared instance outlives every count; another void object (one a class made for its
// `duplicate`) goes like any object.
void VoidObject::destroy(bool freeStorage) {
  if (this != voidObject()) ScriptObject::destroy(freeStorage);
}
void VoidObject::toString(std::string& out) const { out += "<Void>"; }
// The shared instance again: void needs no storage of its own.
ScriptObject* VoidObject::duplicate() { return voidObject(); }

int VoidObject::compare(const Value& other, bool) const {
  if (other.object() == this || other.isVoid()) return kEqual;
  if (other.is(sym::integer)) return -sign(other.toInteger());
  return kIncomparable;
}

void VoidObject::arithmetic(Value& result, SymbolNumber op, const Value& other) {
  IntegerObject zero(0);
  zero.arithmetic(result, op, other);
}

// ---- integer

void IntegerObject::toString(std::string& out) const { out += std::to_string(value_); }

int IntegerObject::compare(const Value& other, bool) const {
  if (other.object() == this) return kEqual;
  switch (other.ilk()) {
    case sym::void_: return sign(value_);
    case sym::integer: return sign(static_cast<int64_t>(value_) - other.toInteger());
    case sym::float_: return compareDoubles(value_, other.toFloat());
    case sym::string:
      return other.isIntegerLike() ? sign(static_cast<int64_t>(value_) - other.toInteger()) : kIncomparable;
    default: return kIncomparable;
  }
}

void IntegerObject::arithmetic(Value& result, SymbolNumber op, const Value& other) {
  if (!isArithmeticOperator(op)) {
    result = Value();
    return;
  }
  switch (other.ilk()) {
    case sym::void_:
    case sym::integer:
      result = Value(integerOperation(op, value_, other.toInteger()));
      return;
    case sym::float_: {
      double f = other.toFloat();
      result = op == sym::mod ? Value(integerOperation(op, value_, truncateToInteger(f + 0.5)))
                              : Value(floatOperation(op, value_, f));
      return;
    }
    case sym::string:
      if (op == sym::mod) {
        result = other.isIntegerLike() ? Value(integerOperation(op, value_, other.toInteger())) : Value();
      } else {
        // The integer goes through single precision first, as the original arithmetic did.
        double x = static_cast<float>(value_);
        result = other.isFloatLike() ? Value(floatOperation(op, x, other.toFloat())) : Value();
      }
      return;
    default:
      if (!combineWithCompound(result, op, Value::share(this), other)) result = Value();
  }
}

// ---- float

int32_t FloatObject::toInteger() const { return roundToInteger(value_); }

void FloatObject::toString(std::string& out) const {
  ScriptHost* host = scriptHost();
  appendFloatText(out, value_, host ? host->floatPrecision() : kDefaultFloatPrecision);
}

int FloatObject::compare(const Value& other, bool) const {
  if (other.object() == this) return kEqual;
  switch (other.ilk()) {
    case sym::integer:
    case sym::float_: return compareDoubles(value_, other.toFloat());
    case sym::string: return other.isFloatLike() ? compareDoubles(value_, other.toFloat()) : kIncomparable;
    default: return kIncomparable;
  }
}

void FloatObject::arithmetic(Value& result, SymbolNumber op, const Value& other) {
  if (!isArithmeticOperator(op)) {
    result = Value();
    return;
  }
  switch (other.ilk()) {
    case sym::string:
      if (!other.isFloatLike()) {
        result = Value();
        return;
      }
      [[fallthrough]];
    case sym::void_:
    case sym::integer:
    case sym::float_:
      result = op == sym::mod ? Value(integerOperation(op, toInteger(), other.toInteger()))
                              : Value(floatOperation(op, value_, other.toFloat()));
      return;
    default:
      if (!combineWithCompound(result, op, Value::share(this), other)) result = Value();
  }
}

}  // namespace qn
