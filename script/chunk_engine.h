// Chunk expressions: `char`, `word`, `item` and `line` chunks of a text, read and edited by the
// five chunk functions. Arguments come as triples (chunk type, first, last), each narrowing the
// range the one before it found, so "word 2 of line 3" is the line triple then the word triple.
// Positions count from 1; a first or last below 1 leaves the range as it is.
#pragma once

#include <string_view>

#include "script/value.h"

namespace qn {

class StringObject;

// Byte offsets [start, end) of a chunk inside its text.
struct ChunkRange {
  int32_t start = 0;
  int32_t end = 0;
  int32_t size() const { return end - start; }
  bool empty() const { return end <= start; }
};

struct ChunkFound {
  ChunkRange range;
  // How many lines or items (or spaces, for char) are missing before the requested chunk
  // begins; the editors create them. The range is then empty at the end of the searched range.
  int32_t missing = 0;
};

// Chunk `first` to `last` of type `type` (sym::line, char_, word or item) inside `within` of
// `text`. Items are separated by whole occurrences of `itemDelimiter` (an empty delimiter
// separates nothing). An unknown type leaves the range as it is.
ChunkFound findChunk(std::string_view text, ChunkRange within, SymbolNumber type, int32_t first,
                     int32_t last, std::string_view itemDelimiter);

// One chunk function on a string: `argv` holds the triples and, for `setChunk`, `putAfterChunk`
// and `putBeforeChunk`, the new text last: at least 3 arguments, 4 for those three (the string's
// method table holds calls with fewer back).
void runChunkFunction(StringObject& target, SymbolNumber method, int argc, Value& answer, Value* const* argv);

// The movie's global chunk functions: argv[0] is the target, the triples follow. A string that
// more than one holder shares is first replaced in the caller's argument by its own copy, so an
// edit changes only the variable passed in; other targets (text and field members) receive the
// call with the arguments after the target.
bool callChunkFunction(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag);

bool isChunkFunction(SymbolNumber method);

}  // namespace qn
