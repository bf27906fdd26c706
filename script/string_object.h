// `StringObject` (ilk `string`): single-byte text with an explicit length, followed by a NUL so
// the C library can read it. Buffers of up to 32 bytes (31 characters and the NUL) are pool
// cells, longer ones come from the heap. Strings are shared by reference like every script object
// and change in place (`putAfter`, `putBefore`, the chunk editors); the chunk functions of the
// movie give a shared string's holder its own copy before changing it. Every change rebuilds the
// buffer and drops the line index, which is built only when lines are asked for.
#pragma once

#include <string_view>
#include <vector>

#include "script/method_table.h"
#include "script/value.h"

namespace qn {

// Byte offsets [start, end) of one line; lines are separated by carriage returns (13).
struct LineRange {
  int32_t start;
  int32_t end;
};

class StringObject final : public ScriptObject {
 public:
  static constexpr char kLineDelimiter = '\r';

  explicit StringObject(std::string_view text);
  ~StringObject() override;

  std::string_view text() const { return {text_, static_cast<size_t>(length_)}; }
  const char* c_str() const { return text_; }
  int32_t length() const { return static_cast<int32_t>(length_); }
  // A new string of the bytes [start, end).
  Value copyOf(int32_t start, int32_t end) const;

  // Edits. `with` may point into this string's own text.
  void assign(std::string_view text) { replace(0, length(), text); }
  void replace(int32_t start, int32_t end, std::string_view with);  // bytes [start, end)
  void insert(int32_t at, std::string_view with) { replace(at, at, with); }
  void append(std::string_view with) { insert(length(), with); }

  // Lines: one more than the carriage returns; the index stays until the text changes.
  int32_t lineCount() const { return static_cast<int32_t>(lineIndex().size()); }
  LineRange line(int32_t position) const { return lineIndex()[static_cast<size_t>(position - 1)]; }
  int32_t itemCount() const;  // one more than the occurrences of the movie's itemDelimiter
  int32_t wordCount() const;  // runs of bytes other than tab, line feed, carriage return, space

  void toString(std::string& out) const override;  // the text in double quotes
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  void arithmetic(Value& result, SymbolNumber op, const Value& other) override;
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  void getProperty(Value& result, SymbolNumber property) override;
  // The methods scripts call; they answer integer 0 unless they say otherwise.
  static const MethodTable<StringObject>& methods();
  bool isIntegerLike() const override;  // the "%d" reading succeeds: 12abc is integer-like
  bool isFloatLike() const override;    // the "%f" reading succeeds
  int32_t toInteger() const override;   // the "%d" reading, 0 when it fails
  double toFloat() const override;      // the "%f" reading in single precision, 0.0 when it fails

 private:
  const std::vector<LineRange>& lineIndex() const;
  void dropLineIndex();

  char* text_;
  uint32_t length_ : 31;
  // Whether a line index exists. The indexes live in a table beside the strings, which keeps a
  // string object within one pool cell.
  mutable uint32_t hasLineIndex_ : 1;
};

static_assert(sizeof(StringObject) <= 32, "strings live in pool cells");

// The string object a value holds, else nullptr.
inline StringObject* stringObjectOf(const Value& value) {
  return value.is(sym::string) ? static_cast<StringObject*>(value.object()) : nullptr;
}

// Text of a value as the string methods use it: a string's own text, any other value's text form.
std::string textOf(const Value& value);

// The concatenation operator: a string on the left runs its own `concat`; any other left operand
// is first turned into the string of its text form.
Value concat(const Value& left, const Value& right);

// The movie's item delimiter, "," without a movie.
std::string_view itemDelimiter();

}  // namespace qn
