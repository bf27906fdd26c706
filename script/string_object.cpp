#include "script/string_object.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "script/chunk_engine.h"
#include "script/scalars.h"
#include "script/script_host.h"
#include "script/small_block_pool.h"
#include "script/symbol_object.h"
#include "script/symbol_table.h"

namespace qn {

namespace {

constexpr int32_t kMaxLength = INT32_MAX - 1;  // the length and its NUL fit a signed 32-bit size

// memcpy that accepts the null data of an empty view.
void copyBytes(char* to, const char* from, size_t count) {
  if (count > 0) std::memcpy(to, from, count);
}

char* newBuffer(size_t length) {
  auto* buffer = static_cast<char*>(allocateBlock(length + 1));
  buffer[length] = '\0';
  return buffer;
}

// Line indexes of the strings that have one, keyed by the string. Never destroyed: strings held
// by static Values may be released after every destructor has run.
std::unordered_map<const StringObject*, std::vector<LineRange>>& lineIndexes() {
  static auto* indexes = new std::unordered_map<const StringObject*, std::vector<LineRange>>();
  return *indexes;
}

// Position of the first occurrence of `needle` in `haystack` ignoring letter case, or -1; the
// empty needle occurs at 0.
int32_t findIgnoringCase(std::string_view haystack, std::string_view needle) {
  auto lower = [](std::string_view text) {
    std::string copy(text);
    for (char& c : copy) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return copy;
  };
  size_t found = lower(haystack).find(lower(needle));
  return found == std::string::npos ? -1 : static_cast<int32_t>(found);
}

int sign(int64_t x) { return x > 0 ? kGreater : (x < 0 ? kLess : kEqual); }

}  // namespace

StringObject::StringObject(std::string_view text) : ScriptObject(sym::string), length_(0), hasLineIndex_(0) {
  if (text.size() > static_cast<size_t>(kMaxLength)) outOfMemory();
  text_ = newBuffer(text.size());
  copyBytes(text_, text.data(), text.size());
  length_ = static_cast<uint32_t>(text.size());
}

StringObject::~StringObject() {
  dropLineIndex();
  freeBlock(text_, length_ + 1);
}

void StringObject::replace(int32_t start, int32_t end, std::string_view with) {
  start = std::clamp(start, 0, length());
  end = std::clamp(end, start, length());
  int64_t grown = int64_t{length()} - (end - start) + static_cast<int64_t>(with.size());
  if (grown > kMaxLength) outOfMemory();
  const auto newLength = static_cast<size_t>(grown);
  char* rebuilt = newBuffer(newLength);
  copyBytes(rebuilt, text_, static_cast<size_t>(start));
  copyBytes(rebuilt + start, with.data(), with.size());
  copyBytes(rebuilt + start + with.size(), text_ + end, static_cast<size_t>(length() - end));
  freeBlock(text_, length_ + 1);  // only now: `with` may have pointed into the old text
  text_ = rebuilt;
  length_ = static_cast<uint32_t>(newLength);
  dropLineIndex();
}

const std::vector<LineRange>& StringObject::lineIndex() const {
  auto& indexes = lineIndexes();
  if (hasLineIndex_) return indexes.at(this);
  std::vector<LineRange>& lines = indexes[this];
  int32_t start = 0;
  for (int32_t i = 0; i < length(); ++i) {
    if (text_[i] == kLineDelimiter) {
      lines.push_back({start, i});
      start = i + 1;
    }
  }
  lines.push_back({start, length()});
  hasLineIndex_ = 1;
  return lines;
}

void StringObject::dropLineIndex() {
  if (!hasLineIndex_) return;
  lineIndexes().erase(this);
  hasLineIndex_ = 0;
}

int32_t StringObject::itemCount() const {
  std::string_view delimiter = itemDelimiter();
  if (delimiter.empty()) return 1;
  int32_t count = 1;
  for (size_t at = text().find(delimiter); at != std::string_view::npos; at = text().find(delimiter, at + delimiter.size()))
    ++count;
  return count;
}

int32_t StringObject::wordCount() const {
  auto separator = [](char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; };
  int32_t count = 0;
  bool inWord = false;
  for (char c : text()) {
    if (separator(c)) inWord = false;
    else if (!inWord) inWord = true, ++count;
  }
  return count;
}

void StringObject::toString(std::string& out) const {
  out += '"';
  out += text();
  out += '"';
}

Value StringObject::copyOf(int32_t start, int32_t end) const {
  start = std::clamp(start, 0, length());
  end = std::clamp(end, start, length());
  return Value(text().substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
}

ScriptObject* StringObject::duplicate() { return new StringObject(text()); }

// The C library's "%d" and "%f" readings: optional white space, a sign, then digits (or a float);
// anything may follow.
bool StringObject::isIntegerLike() const {
  char* end = nullptr;
  std::strtoll(text_, &end, 10);
  return end != text_;
}

bool StringObject::isFloatLike() const {
  char* end = nullptr;
  std::strtof(text_, &end);
  return end != text_;
}

int32_t StringObject::toInteger() const {
  char* end = nullptr;
  long long value = std::strtoll(text_, &end, 10);
  return end == text_ ? 0 : static_cast<int32_t>(static_cast<uint64_t>(value));
}

double StringObject::toFloat() const {
  char* end = nullptr;
  float value = std::strtof(text_, &end);
  return end == text_ ? 0.0 : static_cast<double>(value);
}

// Strings order by their bytes, ignoring letter case when `ordering` is false; against numbers
// they compare by their number readings when they have one.
int StringObject::compare(const Value& other, bool ordering) const {
  if (other.object() == this) return kEqual;
  switch (other.ilk()) {
    case sym::string: {
      std::string_view theirs = static_cast<const StringObject*>(other.object())->text();
      return sign(ordering ? text().compare(theirs) : compareIgnoringCase(text(), theirs));
    }
    case sym::integer:
      return isIntegerLike() ? sign(int64_t{toInteger()} - other.toInteger()) : kIncomparable;
    case sym::float_: {
      if (!isFloatLike()) return kIncomparable;
      double mine = toFloat(), theirs = other.toFloat();
      if (std::fabs(mine - theirs) < 1e-13) return kEqual;
      return mine > theirs ? kGreater : (mine < theirs ? kLess : kIncomparable);
    }
    default: return kIncomparable;
  }
}

void StringObject::arithmetic(Value& result, SymbolNumber op, const Value& other) {
  if (!isFloatLike()) {
    result = Value();
    return;
  }
  FloatObject number(toFloat());
  number.arithmetic(result, op, other);
}

void StringObject::getProperty(Value& result, SymbolNumber property) {
  auto lastChunk = [&](SymbolNumber type, int32_t position) {
    ChunkRange range = findChunk(text(), {0, length()}, type, position, position, itemDelimiter()).range;
    return copyOf(range.start, range.end);
  };
  switch (property) {
    case sym::ilk: result = Value::symbol(sym::string); return;
    case sym::length:
    case sym::charCount: result = Value(length()); return;
    case sym::lineCount: result = Value(lineCount()); return;
    case sym::itemCount: result = Value(itemCount()); return;
    case sym::wordCount: result = Value(wordCount()); return;
    case sym::lastLine: result = lastChunk(sym::line, lineCount()); return;
    case sym::lastChar: result = lastChunk(sym::char_, length()); return;
    case sym::lastWord: result = lastChunk(sym::word, wordCount()); return;
    case sym::lastItem: result = lastChunk(sym::item, itemCount()); return;
    default: result = Value();
  }
}

bool StringObject::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  return methods().answerFrom(sharedZero, *this, method, argc, argv, result);
}

namespace {

// Ignoring case, the text of the argument found in the string (contains) or at its start (starts).
template <bool AtTheStart>
void findsText(StringObject& string, const MethodCall& call) {
  const int32_t found = findIgnoringCase(string.text(), textOf(call[0]));
  call.answer = Value((AtTheStart ? found == 0 : found >= 0) ? 1 : 0);
}

// The text of the argument put at the end (putAfter) or the start (putBefore), in place; the
// answer is a copy of the changed text.
template <bool AtTheEnd>
void putsText(StringObject& string, const MethodCall& call) {
  const std::string added = textOf(call[0]);
  string.insert(AtTheEnd ? string.length() : 0, added);
  call.answer = Value(string.text());
}

// The range rule of char chunks: positions below 1 take the whole text.
void characters(StringObject& string, const MethodCall& call) {
  const ChunkRange range =
      findChunk(string.text(), {0, string.length()}, sym::char_, call[0].toInteger(), call[1].toInteger(), {}).range;
  call.answer = string.copyOf(range.start, range.end);
}

// lineCount, itemCount, wordCount: as the property of that name.
template <SymbolNumber Count>
void countOf(StringObject& string, const MethodCall& call) {
  string.getProperty(call.answer, Count);
}

template <SymbolNumber Function>
void chunkFunction(StringObject& string, const MethodCall& call) {
  runChunkFunction(string, Function, call.argc, call.answer, call.argv);
}

}  // namespace

const MethodTable<StringObject>& StringObject::methods() {
  static constexpr auto kMethods = std::to_array<Method<StringObject>>({
      {sym::ilk, Arity::any(), [](StringObject&, const MethodCall& call) { call.answer = Value::symbol(sym::string); }},
      {sym::concat, Arity::exactly(1),
       [](StringObject& string, const MethodCall& call) { call.answer = Value(std::string(string.text()) + textOf(call[0])); }},
      {sym::contains, Arity::exactly(1), findsText<false>},
      {sym::starts, Arity::exactly(1), findsText<true>},
      // This string is the text to find, inside the argument.
      {sym::offset, Arity::exactly(1),
       [](StringObject& string, const MethodCall& call) {
         const StringObject* within = stringObjectOf(call[0]);
         call.answer = Value(within ? findIgnoringCase(within->text(), string.text()) + 1 : 0);
       }},
      {sym::putAfter, Arity::exactly(1), putsText<true>},
      {sym::putBefore, Arity::exactly(1), putsText<false>},
      {sym::char_, Arity::exactly(2), characters},
      {sym::chars, Arity::exactly(2), characters},
      {sym::length, Arity::exactly(0), [](StringObject& string, const MethodCall& call) { call.answer = Value(string.length()); }},
      {sym::lineCount, Arity::any(), countOf<sym::lineCount>},
      {sym::itemCount, Arity::any(), countOf<sym::itemCount>},
      {sym::wordCount, Arity::any(), countOf<sym::wordCount>},
      {sym::getChunk, Arity::atLeast(3), chunkFunction<sym::getChunk>},
      {sym::delChunk, Arity::atLeast(3), chunkFunction<sym::delChunk>},
      {sym::setChunk, Arity::atLeast(4), chunkFunction<sym::setChunk>},
      {sym::putAfterChunk, Arity::atLeast(4), chunkFunction<sym::putAfterChunk>},
      {sym::putBeforeChunk, Arity::atLeast(4), chunkFunction<sym::putBeforeChunk>},
  });
  static constexpr auto kTable = MethodTable<StringObject>::bind(kMethods);
  return kTable;
}

std::string textOf(const Value& value) {
  if (const StringObject* string = stringObjectOf(value)) return std::string(string->text());
  return value.toString();
}

Value concat(const Value& left, const Value& right) {
  Value text = left.is(sym::string) ? left : Value(left.toString());
  return text.call(sym::concat, right);
}

std::string_view itemDelimiter() {
  ScriptHost* host = scriptHost();
  return host ? host->itemDelimiter() : std::string_view(",");
}

Value::Value(std::string_view text) : object_(new StringObject(text)) {}
Value::Value(const char* text) : Value(std::string_view(text ? text : "")) {}

}  // namespace qn
