// `PropListObject` (ilk `propList`): a property list with keys of any type, kept in insertion
// order, or in key order once `sort` has run; a sorted list keeps its order on `addProp` and
// finds `getProp` keys by binary search. Pair i is key i with value i. The movie keeps its frame
// labels in one. Two 16-byte arrays make it larger than a pool cell: it lives on the heap.
#pragma once

#include "script/compact_array.h"
#include "script/method_table.h"
#include "script/value.h"

namespace qn {

class PropListObject final : public ScriptObject {
 public:
  PropListObject();

  // Typed access for engine and game code.
  int32_t size() const { return keys_.size(); }
  bool sorted() const { return keys_.ownerFlag(); }
  Value get(const Value& key) const;  // `getProp`: void when absent
  void add(const Value& key, const Value& value);  // `addProp`
  void set(const Value& key, const Value& value);  // `setAProp`
  void sort();
  void clear();

  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  void arithmetic(Value& result, SymbolNumber op, const Value& other) override;
  int32_t count() override { return size(); }
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  void getProperty(Value& result, SymbolNumber property) override;
  // The methods scripts call; they answer integer 1 unless they say otherwise.
  static const MethodTable<PropListObject>& methods();

  // Positions count from 1; the positional reads give integer 0 outside 1..count.
  virtual int32_t findKey(const Value& key) const;                  // 14: first key equal exactly, 0 if none
  virtual Value valueAt(int32_t position) const;                    // 15
  virtual Value keyAt(int32_t position) const;                      // 16
  virtual int32_t findValue(const Value& value) const;              // 17: strings compared exactly
  virtual int32_t findValueIgnoringCase(const Value& value) const;  // 18
  virtual void sortPairs(int32_t first, int32_t last);              // 19: by key, values travel along

 private:
  void setSorted(bool on) { keys_.setOwnerFlag(on); }
  int32_t lookup(const Value& key) const;  // position for `getProp`, 0 if absent
  int32_t findNear(const Value& key) const;
  void removeAt(int32_t position);
  // Replaces the value at a position counted from 1; nothing outside 1..count.
  void replaceAt(int32_t position, const Value& value);

  CompactArray<Value> keys_;  // its spare bit is the `sorted` flag
  CompactArray<Value> values_;
};

}  // namespace qn
