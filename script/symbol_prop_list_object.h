// `SymbolPropListObject` (ilk `propList`): the property list scripts build, keyed by symbols and
// always in ascending symbol-number order, whatever the order of insertion. The entries sit in
// one array sorted by symbol number (binary search to find, a shift to insert): records hold a
// handful of entries, for which a contiguous array is smaller and faster than a tree, and the
// object stays within one pool cell. Methods answer integer 1 unless they say otherwise; keys
// that are not symbols leave the list unchanged.
#pragma once

#include <initializer_list>
#include <utility>

#include "script/compact_array.h"
#include "script/method_table.h"
#include "script/value.h"

namespace qn {

class SymbolPropListObject final : public ScriptObject {
 public:
  SymbolPropListObject();

  // Typed access for engine and game code.
  int32_t size() const { return entries_.size(); }
  bool has(SymbolNumber key) const { return find(key) != nullptr; }
  Value get(SymbolNumber key) const;                  // void when absent
  void set(SymbolNumber key, const Value& value);     // inserts or replaces
  bool replace(SymbolNumber key, const Value& value); // only a present entry; false otherwise
  void remove(SymbolNumber key);
  void clear() { entries_.clear(); }
  SymbolNumber keyAt(int32_t position) const;  // 0 outside 1..count

  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  void arithmetic(Value& result, SymbolNumber op, const Value& other) override;
  int32_t count() override { return size(); }
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;
  // The methods scripts call; they answer integer 1 unless they say otherwise.
  static const MethodTable<SymbolPropListObject>& methods();

  // 14: the value at a position in symbol-number order; integer 0 outside 1..count.
  virtual Value valueAt(int32_t position) const;

 private:
  struct Entry {
    SymbolNumber key;
    Value value;
  };
  int32_t lowerBound(SymbolNumber key) const;  // index of the first entry not below key
  const Entry* find(SymbolNumber key) const;

  CompactArray<Entry> entries_;
};

static_assert(sizeof(SymbolPropListObject) <= 32, "symbol property lists live in pool cells");

// The symbol property list a value holds, else nullptr.
SymbolPropListObject* symbolPropListOf(const Value& value);

// The literal `[#a: x, #b: y]` of the compiled movie: keys and values alternate; a pair whose key
// is not a symbol is skipped, and an unpaired last key is ignored.
Value makePropList(std::initializer_list<Value> keysAndValues);
// The same built from symbol numbers, for engine and game code (a ball or player record):
//   makeRecord({{sym::locH, Value(10)}, {kSpeed, Value(2.5)}})
Value makeRecord(std::initializer_list<std::pair<SymbolNumber, Value>> entries);

}  // namespace qn
