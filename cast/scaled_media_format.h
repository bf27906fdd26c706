// A media set of a finer presentation scale k (2 to 4): the cast's bitmaps drawn k times finer,
// in a media file of their own, laid out like the movie's (media_format.h: magic, blobs,
// trailer word) and named after it ("MyMovie@4x.qmf"). The movie's compiled cast table addresses
// its own file only, so the set carries its table as its first blob (all words little-endian):
//
//   offset 4   "SCAL", the scale k, the length and the CRC-32 of the movie's media data the set
//              was made for, the number of entries n
//   then       n entries, ascending by member key: member key, width, height, regX, regY (each
//              k times the member's), the image blob (offset, packed size, unpacked size), the
//              alpha blob that follows it (packed and unpacked size, 0 for none), storedFormat
//   then       the blobs, decoded as the member's own blobs are
//
// The packer (`qmftool pack` with scales) writes it; the cast and `qmftool check` read it with
// every range checked, so a damaged set is refused whole and never read outside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/screen_point.h"

namespace qn {

using platform::kLargestPresentationScale;
inline constexpr uint32_t kScaledSetTag = 0x4C414353;  // "SCAL" read as a little-endian word

// Where a bitmap's image blob lies, and its alpha blob right after it.
struct BitmapBlobs {
  int32_t offset = 0, packedSize = 0, unpackedSize = 0;
  int32_t alphaPackedSize = 0, alphaUnpackedSize = 0;
  uint8_t storedFormat = 0;  // 1: a JPEG, PNG or GIF file image; 0: a BMP file image
};

struct ScaledPicture {
  int32_t memberKey = 0;
  int32_t width = 0, height = 0;
  int32_t regX = 0, regY = 0;
  BitmapBlobs blobs;
};

struct ScaledSetTable {
  int32_t scale = 0;
  uint32_t baseLength = 0;  // the movie's media data it was made for: its length and CRC-32
  uint32_t baseCrc = 0;
  std::vector<ScaledPicture> pictures;  // ascending member keys
};

// The table's bytes for `count` entries; the first blob follows them at 4 + this.
size_t scaledSetTableSize(size_t count);
std::vector<uint8_t> scaledSetTableBytes(const ScaledSetTable& table);

// Reads the table of a whole media set: magic and trailer word, the tag, a scale from 2 to 4,
// entries in ascending key order with positive sizes, and every blob inside the data after the
// table. False with `problem` saying what is wrong.
bool readScaledSetTable(const uint8_t* data, size_t length, ScaledSetTable& table, std::string& problem);

// "MyMovie.qmf" at scale 4 is "MyMovie@4x.qmf"; a name without an extension gets "@4x" at its end.
std::string scaledMediaFileName(std::string_view name, int32_t scale);

// The CRC-32 that identifies the movie's media data.
uint32_t mediaIdentity(const uint8_t* data, size_t length);

}  // namespace qn
