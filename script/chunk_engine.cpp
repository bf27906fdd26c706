#include "script/chunk_engine.h"

#include <algorithm>
#include <string>

#include "script/string_object.h"
#include "script/symbol_object.h"

namespace qn {

namespace {

bool isWordSeparator(char byte) { return byte == '\t' || byte == '\n' || byte == '\r' || byte == ' '; }

// The next whole occurrence of `delimiter` starting in [from, end) and ending by `end`, or -1.
int32_t findDelimiter(std::string_view text, int32_t from, int32_t end, std::string_view delimiter) {
  if (delimiter.empty()) return -1;
  size_t found = text.substr(0, static_cast<size_t>(end)).find(delimiter, static_cast<size_t>(from));
  return found == std::string_view::npos ? -1 : static_cast<int32_t>(found);
}

ChunkFound findCharacters(ChunkRange within, int32_t first, int32_t last) {
  int32_t length = within.size();
  if (first > length) return {{within.end, within.end}, first - length - 1};
  int32_t start = within.start + first - 1;
  if (last < first) return {{start, start}, 0};
  return {{start, within.start + std::min(last, length)}, 0};
}

// Lines and items: chunk `first` begins after first - 1 delimiters; chunk `last` ends before the
// delimiter that follows it, or at the end of the range when it is the final chunk.
ChunkFound findDelimited(std::string_view text, ChunkRange within, int32_t first, int32_t last,
                         std::string_view delimiter) {
  const auto width = static_cast<int32_t>(delimiter.size());
  int32_t position = within.start;
  for (int32_t chunk = 1; chunk < first; ++chunk) {
    int32_t found = findDelimiter(text, position, within.end, delimiter);
    if (found < 0) return {{within.end, within.end}, first - chunk};
    position = found + width;
  }
  ChunkRange range{position, within.end};
  if (last < first) return {range, 0};
  for (int32_t chunk = first; chunk <= last; ++chunk) {
    int32_t found = findDelimiter(text, position, within.end, delimiter);
    if (found < 0) return {range, 0};
    if (chunk == last) range.end = found;
    position = found + width;
  }
  return {range, 0};
}

// Words are runs of non-separators. Word 1 keeps the range's start, so separators before it
// belong to it; a last beyond the final word runs to the end of the range.
ChunkFound findWords(std::string_view text, ChunkRange within, int32_t first, int32_t last) {
  int32_t position = within.start;
  auto skipSeparators = [&] {
    while (position < within.end && isWordSeparator(text[static_cast<size_t>(position)])) ++position;
  };
  auto skipWord = [&] {
    while (position < within.end && !isWordSeparator(text[static_cast<size_t>(position)])) ++position;
  };
  for (int32_t word = 1; word <= first; ++word) {
    skipSeparators();
    if (position == within.end) return {{within.end, within.end}, 0};
    if (word < first) skipWord();
  }
  ChunkRange range{first == 1 ? within.start : position, within.end};
  if (last < first) return {range, 0};
  for (int32_t word = first;; ++word) {
    skipWord();
    if (word == last) break;
    skipSeparators();
    if (position == within.end) return {range, 0};
  }
  range.end = position;
  return {range, 0};
}

// A chunk type argument: an integer-like value or a symbol; 0 (skip the triple) otherwise.
SymbolNumber chunkTypeOf(const Value& type) {
  if (type.isIntegerLike()) return type.toInteger();
  return symbolOf(type);
}

// The editors that take a new text; `delChunk` changes the text without one.
bool isEditor(SymbolNumber method) {
  return method == sym::setChunk || method == sym::putAfterChunk || method == sym::putBeforeChunk;
}

// What an editor inserts to create `missing` chunks beyond the end. Items are padded with whole
// delimiters, so the new text lands in the requested item whatever the delimiter's length.
std::string paddingFor(SymbolNumber type, int32_t missing) {
  std::string padding;
  switch (type) {
    case sym::line: padding.assign(static_cast<size_t>(missing), StringObject::kLineDelimiter); break;
    case sym::char_: padding.assign(static_cast<size_t>(missing), ' '); break;
    case sym::item:
      for (int32_t i = 0; i < missing; ++i) padding += itemDelimiter();
      break;
    default: break;
  }
  return padding;
}

}  // namespace

ChunkFound findChunk(std::string_view text, ChunkRange within, SymbolNumber type, int32_t first,
                     int32_t last, std::string_view delimiter) {
  if (first < 1 || last < 1) return {within, 0};
  switch (type) {
    case sym::char_: return findCharacters(within, first, last);
    case sym::line: return findDelimited(text, within, first, last, std::string_view(&StringObject::kLineDelimiter, 1));
    case sym::item: return findDelimited(text, within, first, last, delimiter);
    case sym::word: return findWords(text, within, first, last);
    default: return {within, 0};
  }
}

bool isChunkFunction(SymbolNumber method) {
  return method == sym::getChunk || method == sym::delChunk || isEditor(method);
}

void runChunkFunction(StringObject& target, SymbolNumber method, int argc, Value& answer, Value* const* argv) {
  const bool editing = isEditor(method);
  // Only whole triples are read; an editor's last argument is its new text, never a triple.
  const int triples = std::min((argc - 2) / 3 + 1, (editing ? argc - 1 : argc) / 3);
  // Taken before any padding, which could change it when it is the target itself. A new text
  // that is not a string is taken as the script function `string` gives it.
  const std::string newText = editing ? stringOf(*argv[argc - 1]) : std::string();

  ChunkRange range{0, target.length()};
  for (int triple = 0; triple < triples; ++triple) {
    SymbolNumber type = chunkTypeOf(*argv[3 * triple]);
    if (type == 0) continue;
    ChunkFound found = findChunk(target.text(), range, type, argv[3 * triple + 1]->toInteger(),
                                 argv[3 * triple + 2]->toInteger(), itemDelimiter());
    range = found.range;
    if (editing && found.missing > 0) {
      std::string padding = paddingFor(type, found.missing);
      target.insert(range.start, padding);
      range.start = range.end = range.start + static_cast<int32_t>(padding.size());
    }
  }

  switch (method) {
    case sym::getChunk: answer = target.copyOf(range.start, range.end); return;
    case sym::setChunk: target.replace(range.start, range.end, newText); break;
    case sym::delChunk:
      if (!range.empty()) target.replace(range.start, range.end, {});
      break;
    case sym::putAfterChunk: target.insert(range.end, newText); break;
    case sym::putBeforeChunk: target.insert(range.start, newText); break;
    default: return;
  }
  answer = Value();
}

bool callChunkFunction(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) {
  if (argc < 1 || !isChunkFunction(method)) return false;
  Value& target = *argv[0];
  if (target.is(sym::string)) {
    if (argc < 4) return false;
    bool changesText = method != sym::getChunk;
    if (changesText && target.object()->refCount() > 1) target = target.duplicate();
  }
  return target.object()->handle(method, argc - 1, result, argv + 1, flag);
}

}  // namespace qn
