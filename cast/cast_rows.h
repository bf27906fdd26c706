// The cast rows: one row per member, the constructor arguments of its member class in the order
// the movie definition passes them. `qmftool pack` writes these tables (as C++ source the movie
// compiles) together with the media file whose offsets they name, so the two always agree.
#pragma once

#include <cstdint>
#include <span>

namespace qn {

struct BitmapRow {
  int32_t number, castLib;
  int32_t width, height, depth;
  int32_t regX, regY;
  uint8_t useAlpha;
  int32_t matteAlphaThreshold;
  int32_t reserved1, reserved2;  // carried by every row, 0 in this cast
  const char* name;
  const char* filename;
  int32_t offset, packedSize, unpackedSize;
  int32_t alphaPackedSize, alphaUnpackedSize;  // the alpha blob starts at offset + packedSize
  uint8_t storedFormat;                        // 1: a JPEG, PNG or GIF file image; 0: a BMP file image
};

struct FieldRow {
  int32_t number, castLib;
  int32_t width, height;
  uint32_t color, bgColor;  // 0xRRGGBB
  int32_t lineHeight, scrollTop;
  int32_t alignment;  // 0 left, 1 center, 2 right
  uint8_t wordWrap;
  const char* font;
  int32_t fontSize;
  const char* fontStyle;
  const char* name;
  int32_t offset, packedSize, unpackedSize;  // the text with its terminating zero byte
};

struct SoundRow {
  int32_t number, castLib;
  uint8_t loop;
  const char* name;
  const char* filename;
  int32_t offset, packedSize, unpackedSize;  // unpacked size 0 means the same as packed
};

struct ScriptRow {
  int32_t number, castLib;
  int32_t kind;  // 1 score behaviour, 2 movie script, 3 parent script
  const char* name;
};

// Members are created kind by kind in this order: bitmaps, fields, sounds, scripts.
struct CastRows {
  std::span<const BitmapRow> bitmaps;
  std::span<const FieldRow> fields;
  std::span<const SoundRow> sounds;
  std::span<const ScriptRow> scripts;
  int32_t mediaFileSize;  // the expected size of the media data these rows address
};

// Defined by the cast-table source that `qmftool pack` generates for the movie.
const CastRows& movieCastRows();

}  // namespace qn
