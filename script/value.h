// The value model at a glance.
//
// Every datum a script handler touches is a `Value`: a handle that holds exactly one counted
// reference to a `ScriptObject`. Integers, floats and void are objects too; there is no inline
// payload. Invariants:
//   - a Value is never empty: "nothing" is the one shared VoidObject, which no release destroys;
//   - copying a Value shares its object (one more count), assigning shares the new object and
//     releases the old one, destroying it when that was the last count;
//   - an object starts with refCount 1, owned by the Value that adopts it;
//   - objects of 32 bytes or less live in SmallBlockPool cells;
//   - values are made, shared and released on the movie's thread only, so counts are plain ints.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "script/symbols.h"

namespace qn {

class Value;

// Results of `compare`.
inline constexpr int kLess = -1;
inline constexpr int kEqual = 0;
inline constexpr int kGreater = 1;
inline constexpr int kIncomparable = -10;

class ScriptObject {
 public:
  explicit constexpr ScriptObject(SymbolNumber ilk) : ilk_(ilk) {}
  ScriptObject(const ScriptObject&) = delete;
  ScriptObject& operator=(const ScriptObject&) = delete;

  SymbolNumber ilk() const { return ilk_; }
  int32_t refCount() const { return refCount_; }
  void retain() { ++refCount_; }
  inline void release();

  // The fourteen operations in their fixed slot order; subclasses append theirs after slot 13.
  virtual void destroy(bool freeStorage);                                                // 0
  virtual void invoke(Value& result, SymbolNumber method, int argc, Value* const* argv);  // 1
  virtual void toString(std::string& out) const = 0;  // 2: appends the text form to out
  virtual ScriptObject* duplicate() = 0;              // 3: a new object with refCount 1
  virtual int compare(const Value& other, bool ordering) const;                          // 4
  virtual void arithmetic(Value& result, SymbolNumber op, const Value& other);           // 5
  virtual int32_t count();                                                               // 6
  virtual bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv,  // 7
                      bool flag);
  virtual void getProperty(Value& result, SymbolNumber property);                        // 8
  virtual bool setProperty(SymbolNumber property, const Value& value);                   // 9
  virtual bool isIntegerLike() const;                                                    // 10
  virtual bool isFloatLike() const;                                                      // 11
  virtual int32_t toInteger() const;                                                     // 12
  virtual double toFloat() const;                                                        // 13

  // Small objects come from SmallBlockPool, larger ones from the general heap.
  static void* operator new(size_t size);
  static void operator delete(void* storage, size_t size);

 protected:
  virtual ~ScriptObject() = default;
  // A class's one object that a script member adopts is re-marked from #instance to #script.
  void remark(SymbolNumber ilk) { ilk_ = ilk; }

 private:
  SymbolNumber ilk_;
  int32_t refCount_ = 1;
};

// Void. One shared instance, constant-initialised so that a Value of any static object is valid
// before any constructor runs; no release destroys it and its count is not meaningful.
class VoidObject final : public ScriptObject {
 public:
  constexpr VoidObject() : ScriptObject(sym::void_) {}
  void destroy(bool freeStorage) override;
  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  void arithmetic(Value& result, SymbolNumber op, const Value& other) override;
  bool isIntegerLike() const override { return true; }
  bool isFloatLike() const override { return true; }
  int32_t toInteger() const override { return 0; }
  double toFloat() const override { return 0.0; }
};

namespace detail {
// Storage that is never destroyed: Values held by static objects are released after every
// destructor of the program may have run.
union SharedVoid {
  constexpr SharedVoid() : object() {}
  ~SharedVoid() {}
  VoidObject object;
};
extern SharedVoid sharedVoid;
}  // namespace detail

// The object the void Value refers to.
constexpr ScriptObject* voidObject() { return &detail::sharedVoid.object; }

// The handle. Arguments travel as arrays of pointers to the caller's Values, so a receiver may
// replace the object a caller's variable holds (the chunk editors give a shared string its own
// copy that way).
class Value {
 public:
  constexpr Value() noexcept : object_(voidObject()) {}
  Value(int32_t integer);
  Value(double number);
  Value(const char* text);
  Value(std::string_view text);
  Value(const std::string& text) : Value(std::string_view(text)) {}
  Value(Symbol named) : Value(symbol(named.number)) {}
  static Value symbol(SymbolNumber number);
  static Value share(ScriptObject* object);
  static Value adopt(ScriptObject* object);  // takes over the count an object was made with

  Value(const Value& other) noexcept : object_(other.object_) { object_->retain(); }
  Value(Value&& other) noexcept;
  Value& operator=(const Value& other) noexcept;
  Value& operator=(Value&& other) noexcept;
  virtual ~Value() { object_->release(); }

  ScriptObject* object() const { return object_; }
  SymbolNumber ilk() const { return object_->ilk(); }
  bool is(SymbolNumber ilk) const { return object_->ilk() == ilk; }
  bool isVoid() const { return object_->ilk() == sym::void_; }
  bool isNumber() const { return is(sym::integer) || is(sym::float_); }
  bool sameObject(const Value& other) const { return object_ == other.object_; }

  int32_t toInteger() const { return object_->toInteger(); }
  double toFloat() const { return object_->toFloat(); }
  bool isIntegerLike() const { return object_->isIntegerLike(); }
  bool isFloatLike() const { return object_->isFloatLike(); }
  std::string toString() const;
  // An independent copy of a value-like object (string, list, point, rect, color); symbols and
  // identity objects give themselves, a script instance gives void.
  Value duplicate() const;
  int32_t count() const { return object_->count(); }
  int compare(const Value& other, bool ordering) const { return object_->compare(other, ordering); }

  Value getProperty(SymbolNumber property) const;
  bool setProperty(SymbolNumber property, const Value& value) const {
    return object_->setProperty(property, value);
  }

  // Calls a method with any number of arguments; Values are passed by reference, anything else
  // is made into a temporary Value first. Needs no heap however many arguments there are.
  template <class... Args>
  void invoke(Value& result, SymbolNumber method, Args&&... args) const;
  template <class... Args>
  Value call(SymbolNumber method, Args&&... args) const {
    Value result;
    invoke(result, method, std::forward<Args>(args)...);
    return result;
  }

  // Item i (counted from 1): a list's element, otherwise the object's getAt.
  Value item(int32_t position) const;

 private:
  explicit Value(ScriptObject* adopted) noexcept : object_(adopted) {}
  ScriptObject* object_;
};

inline void ScriptObject::release() {
  if (--refCount_ == 0 && this != voidObject()) destroy(true);
}

// One argument of a variadic call: a caller's Value by reference, or a temporary made from
// anything else a Value can be made from.
class ArgumentRef {
 public:
  ArgumentRef(Value& value) : pointer_(&value) {}
  ArgumentRef(const Value& value) : pointer_(const_cast<Value*>(&value)) {}
  template <class T>
  ArgumentRef(T&& other) : owned_(std::forward<T>(other)), pointer_(&owned_) {}
  ArgumentRef(const ArgumentRef&) = delete;
  ArgumentRef& operator=(const ArgumentRef&) = delete;
  Value* get() const { return pointer_; }

 private:
  Value owned_;
  Value* pointer_;
};

namespace detail {
inline void invokeArguments(ScriptObject* object, Value& result, SymbolNumber method,
                            std::initializer_list<Value*> argv) {
  object->invoke(result, method, static_cast<int>(argv.size()), argv.begin());
}
}  // namespace detail

template <class... Args>
void Value::invoke(Value& result, SymbolNumber method, Args&&... args) const {
  auto run = [&](auto&&... refs) { detail::invokeArguments(object_, result, method, {refs.get()...}); };
  run(ArgumentRef(std::forward<Args>(args))...);
}

// Operators the compiled handlers use; `<>` is !=. Each comparison passes its ordering flag:
// false for =, <>, <; true for >, <=, >= (only strings care).
bool operator==(const Value& a, const Value& b);
bool operator<(const Value& a, const Value& b);
bool operator>(const Value& a, const Value& b);
bool operator<=(const Value& a, const Value& b);
bool operator>=(const Value& a, const Value& b);
Value operator+(const Value& a, const Value& b);
Value operator-(const Value& a, const Value& b);
Value operator*(const Value& a, const Value& b);
Value operator/(const Value& a, const Value& b);
Value mod(const Value& a, const Value& b);
Value operator-(const Value& a);
Value arithmetic(const Value& a, SymbolNumber op, const Value& b);

// The two process-wide integers. Set by initValueModel, back to void by shutdownValueModel so
// their objects are released before the pool goes away.
extern Value sharedZero;
extern Value sharedOne;
void initValueModel();
void shutdownValueModel();

}  // namespace qn
