// Fuzzes the chunk editing a field member forwards to its text: the input's first bytes are the
// text, then each 6-byte record is one call (method, chunk type, first, last, text length). The
// edited text is then drawn into a small stage with a box, size, alignment and ink from the
// first of those bytes, which takes arbitrary bytes through the text service.
#include <cstdint>
#include <string>

#include "cast/cast.h"
#include "cast/field_member.h"
#include "gfx/image_buffer.h"
#include "script/symbol_table.h"

namespace {

constexpr qn::SymbolNumber kMethods[] = {qn::sym::putAfter,      qn::sym::putBefore,   qn::sym::setChunk,
                                         qn::sym::delChunk,      qn::sym::putAfterChunk, qn::sym::putBeforeChunk,
                                         qn::sym::getChunk,      qn::sym::line,        qn::sym::char_,
                                         qn::sym::chars,         qn::sym::word,        qn::sym::item,
                                         qn::sym::itemCount,     qn::sym::wordCount,   qn::sym::lineCount,
                                         qn::sym::length};
constexpr qn::SymbolNumber kChunkTypes[] = {qn::sym::line, qn::sym::char_, qn::sym::word, qn::sym::item, qn::sym::text};

struct World {
  World() {
    qn::initValueModel();
    qn::SymbolTable::global().addBuiltins();
  }
  qn::MediaFile media;
  qn::Cast cast{media};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  size_t textLength = size ? data[0] % 64 : 0;
  size_t position = 1 + textLength;
  if (position > size) return 0;
  qn::FieldRow row{};
  row.number = 1;
  row.castLib = 1;
  row.width = 50;
  row.height = 20;
  row.font = "Tahoma";
  row.fontStyle = "";
  row.name = "fuzzed";
  qn::Value member = qn::Value::adopt(new qn::FieldMember(world.cast, row));
  auto& field = *static_cast<qn::FieldMember*>(member.object());
  member.setProperty(qn::sym::text, qn::Value(std::string_view(reinterpret_cast<const char*>(data + 1), textLength)));
  qn::Value shared = field.text();  // a second holder: edits must copy first

  for (; position + 6 <= size; position += 6) {
    const uint8_t* call = data + position;
    qn::SymbolNumber method = kMethods[call[0] % std::size(kMethods)];
    qn::Value type = qn::Value::symbol(kChunkTypes[call[1] % std::size(kChunkTypes)]);
    qn::Value first(static_cast<int32_t>(static_cast<int8_t>(call[2])));
    qn::Value last(static_cast<int32_t>(static_cast<int8_t>(call[3])));
    qn::Value text(std::string(call[4] % 8, static_cast<char>(call[5])));
    qn::Value* argv[] = {&type, &first, &last, &text};
    int argc = call[5] % 5;
    qn::Value result;
    field.handle(method, argc, result, argv, false);
  }

  uint8_t look = size > 1 ? data[1] : 0;
  member.setProperty(qn::sym::fontSize, qn::Value(static_cast<int32_t>(look % 40) - 4));
  member.setProperty(qn::sym::alignment, qn::Value(look & 1 ? "right" : "center"));
  member.setProperty(qn::sym::wordWrap, qn::Value(static_cast<int32_t>(look & 2)));
  member.setProperty(qn::sym::dynamic, qn::Value(static_cast<int32_t>(look & 4)));
  qn::Value stage = qn::Value::adopt(qn::ImageBuffer::create(64, 32, (look & 8) ? 32 : -16));
  int32_t left = static_cast<int8_t>(data[size - 1]), top = static_cast<int8_t>(data[size / 2]);
  field.drawInto(*qn::imageBufferOf(stage), qn::PixelRect{left, top, left + 80, top + 20}, (look & 16) ? 36 : 0, 255);
  return 0;
}
