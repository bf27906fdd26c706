// Lifetime of Values and the value-level operators.
#include "script/value.h"

#include "script/list_object.h"
#include "script/scalars.h"
#include "script/small_block_pool.h"
#include "script/symbol_object.h"

namespace qn {

namespace detail {
constinit SharedVoid sharedVoid;
}  // namespace detail

constinit Value sharedZero;
constinit Value sharedOne;

void initValueModel() {
  sharedZero = Value(0);
  sharedOne = Value(1);
}

void shutdownValueModel() {
  sharedZero = Value();
  sharedOne = Value();
}

Value::Value(int32_t integer) : object_(new IntegerObject(integer)) {}
Value::Value(double number) : object_(new FloatObject(number)) {}
Value Value::symbol(SymbolNumber number) { return Value(static_cast<ScriptObject*>(new SymbolObject(number))); }

Value Value::share(ScriptObject* object) {
  if (!object) return Value();
  object->retain();
  return Value(object);
}

Value Value::adopt(ScriptObject* object) { return object ? Value(object) : Value(); }

Value::Value(Value&& other) noexcept : object_(other.object_) { other.object_ = voidObject(); }

// The new object is taken before the old one is let go: the source handle may live inside the
// old object (a list element assigned to the list's own variable), and releasing first would
// destroy it under us.
Value& Value::operator=(const Value& other) noexcept {
  if (this != &other) {
    ScriptObject* old = object_;
    object_ = other.object_;
    object_->retain();
    old->release();
  }
  return *this;
}

Value& Value::operator=(Value&& other) noexcept {
  if (this != &other) {
    ScriptObject* old = object_;
    object_ = other.object_;
    other.object_ = voidObject();
    old->release();
  }
  return *this;
}

std::string Value::toString() const {
  std::string text;
  object_->toString(text);
  return text;
}

Value Value::duplicate() const { return adopt(object_->duplicate()); }

Value Value::getProperty(SymbolNumber property) const {
  Value result;
  object_->getProperty(result, property);
  return result;
}

Value Value::item(int32_t position) const {
  if (const ListObject* list = listOf(*this)) return list->valueAt(position);
  return call(sym::getAt, position);
}

bool operator==(const Value& a, const Value& b) { return a.sameObject(b) || a.compare(b, false) == kEqual; }
bool operator<(const Value& a, const Value& b) { return !a.sameObject(b) && a.compare(b, false) == kLess; }
bool operator>(const Value& a, const Value& b) { return !a.sameObject(b) && a.compare(b, true) == kGreater; }

bool operator<=(const Value& a, const Value& b) {
  if (a.sameObject(b)) return true;
  int order = a.compare(b, true);
  return order == kEqual || order == kLess;
}

bool operator>=(const Value& a, const Value& b) {
  if (a.sameObject(b)) return true;
  int order = a.compare(b, true);
  return order == kEqual || order == kGreater;
}

Value arithmetic(const Value& a, SymbolNumber op, const Value& b) {
  Value result;
  a.object()->arithmetic(result, op, b);
  return result;
}

Value operator+(const Value& a, const Value& b) { return arithmetic(a, sym::add, b); }
Value operator-(const Value& a, const Value& b) { return arithmetic(a, sym::subtract, b); }
Value operator*(const Value& a, const Value& b) { return arithmetic(a, sym::multiply, b); }
Value operator/(const Value& a, const Value& b) { return arithmetic(a, sym::divide, b); }
Value mod(const Value& a, const Value& b) { return arithmetic(a, sym::mod, b); }
Value operator-(const Value& a) { return arithmetic(sharedZero, sym::subtract, a); }

}  // namespace qn
