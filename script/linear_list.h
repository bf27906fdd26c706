// The linear lists: `ListObject` (elements are Values) and `IntListObject` (raw 32-bit integers).
// Both answer one method table; `ListOf` holds it once for either element type. Positions count
// from 1. `sorted` is set only by `sort`; `addAt`, `append` and `setAt` clear it, `add` keeps the
// order by inserting after the last element that is not greater than the new one.
#pragma once

#include "script/compact_array.h"
#include "script/indexed_object.h"
#include "script/method_table.h"

namespace qn {

// The slots a linear list adds after the element getter (slot 14).
class LinearList : public IndexedObject {
 public:
  using IndexedObject::IndexedObject;
  virtual void setElement(int32_t position, const Value& value) = 0;  // 15: grows with integer 0
  virtual void addInOrder(const Value& value) = 0;                    // 16
  virtual void insertAt(int32_t position, const Value& value) = 0;    // 17: before `position`
};

// How a list reads, writes and orders one kind of element.
template <class Element>
struct ListElement;

template <>
struct ListElement<Value> {
  static Value toValue(const Value& element) { return element; }
  static Value fromValue(const Value& value) { return value; }
  static Value missing() { return Value(); }
  static Value zero() { return sharedZero; }
  static bool less(const Value& a, const Value& b) { return a < b; }
  static void appendText(std::string& out, const Value& element) { element.object()->toString(out); }
};

template <>
struct ListElement<int32_t> {
  static Value toValue(int32_t element) { return Value(element); }
  static int32_t fromValue(const Value& value) { return value.toInteger(); }
  static Value missing() { return Value(0); }
  static int32_t zero() { return 0; }
  static bool less(int32_t a, int32_t b) { return a < b; }
  static void appendText(std::string& out, int32_t element) { out += std::to_string(element); }
};

// The method table and operations shared by both lists; `Self` is the concrete class, made for
// copies and arithmetic results.
template <class Element, class Self>
class ListOf : public LinearList {
 public:
  using Traits = ListElement<Element>;

  // Typed access for engine and game code.
  int32_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  bool sorted() const { return items_.ownerFlag(); }
  Value valueAt(int32_t position) const { return elementAt(position); }
  void append(const Value& value) {
    items_.append(Traits::fromValue(value));
    setSorted(false);
  }
  void reserve(int32_t count) { items_.reserve(count); }
  void removeAt(int32_t position) {
    if (position >= 1 && position <= size()) items_.erase(position - 1);
  }
  void clear() { items_.clear(); }
  void sort();
  // Position of the first element equal to `value` (string case counts), 0 if none.
  int32_t find(const Value& value) const;
  const Element* begin() const { return items_.begin(); }
  const Element* end() const { return items_.end(); }

  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  void arithmetic(Value& result, SymbolNumber op, const Value& other) override;
  int32_t count() override { return size(); }
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  void getProperty(Value& result, SymbolNumber property) override;
  // The methods scripts call; they answer integer 0 unless they say otherwise.
  static const MethodTable<ListOf>& methods();

  Value elementAt(int32_t position) const override;
  void setElement(int32_t position, const Value& value) override;
  void addInOrder(const Value& value) override;
  void insertAt(int32_t position, const Value& value) override;

 protected:
  explicit ListOf(SymbolNumber ilk) : LinearList(ilk) {}

 private:
  void setSorted(bool on) { items_.setOwnerFlag(on); }
  int32_t findNear(const Value& value) const;

  CompactArray<Element> items_;
};

}  // namespace qn
