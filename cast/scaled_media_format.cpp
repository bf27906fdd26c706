#include "cast/scaled_media_format.h"

#include <zlib.h>

#include "cast/media_format.h"

namespace qn {

namespace {

constexpr size_t kHeaderWords = 5;
constexpr size_t kEntryWords = 11;

void putWord(std::vector<uint8_t>& out, uint32_t word) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(word >> shift));
}

std::string entryName(size_t index, int32_t key) {
  return "entry " + std::to_string(index + 1) + " (member key " + std::to_string(key) + ")";
}

// Why an entry cannot be read, or empty; blobs must lie after the table and before the trailer.
std::string entryProblem(const ScaledPicture& picture, int32_t previousKey, size_t tableEnd, size_t blobsEnd) {
  const BitmapBlobs& blobs = picture.blobs;
  if (picture.memberKey <= previousKey) return "member keys are not ascending";
  if (picture.width <= 0 || picture.height <= 0) return "its size is not positive";
  if (blobs.packedSize <= 0 || blobs.unpackedSize <= 0) return "its image blob is empty";
  if ((blobs.alphaPackedSize == 0) != (blobs.alphaUnpackedSize == 0) || blobs.alphaPackedSize < 0 ||
      blobs.alphaUnpackedSize < 0)
    return "its alpha blob sizes do not agree";
  const int64_t end = int64_t{blobs.offset} + blobs.packedSize + blobs.alphaPackedSize;
  if (blobs.offset < static_cast<int64_t>(tableEnd) || end > static_cast<int64_t>(blobsEnd))
    return "its blobs lie outside the data after the table";
  return "";
}

}  // namespace

size_t scaledSetTableSize(size_t count) { return 4 * (kHeaderWords + kEntryWords * count); }

std::vector<uint8_t> scaledSetTableBytes(const ScaledSetTable& table) {
  std::vector<uint8_t> out;
  out.reserve(scaledSetTableSize(table.pictures.size()));
  for (uint32_t word : {kScaledSetTag, static_cast<uint32_t>(table.scale), table.baseLength, table.baseCrc,
                        static_cast<uint32_t>(table.pictures.size())})
    putWord(out, word);
  for (const ScaledPicture& picture : table.pictures) {
    const BitmapBlobs& blobs = picture.blobs;
    for (int32_t word : {picture.memberKey, picture.width, picture.height, picture.regX, picture.regY, blobs.offset,
                         blobs.packedSize, blobs.unpackedSize, blobs.alphaPackedSize, blobs.alphaUnpackedSize,
                         int32_t{blobs.storedFormat}})
      putWord(out, static_cast<uint32_t>(word));
  }
  return out;
}

bool readScaledSetTable(const uint8_t* data, size_t length, ScaledSetTable& table, std::string& problem) {
  if (!mediaBytesAreValid(data, length)) {
    problem = "not a media file (bad magic or trailer word)";
    return false;
  }
  const size_t blobsEnd = length - kTrailerSize;
  if (blobsEnd < kFirstBlobOffset + scaledSetTableSize(0)) {
    problem = "too short to hold a media set's table";
    return false;
  }
  auto word = [&](size_t index) { return readLittleEndian32(data + kFirstBlobOffset + 4 * index); };
  if (word(0) != kScaledSetTag) {
    problem = "no table of a finer scale (the movie's own media file?)";
    return false;
  }
  table.scale = static_cast<int32_t>(word(1));
  table.baseLength = word(2);
  table.baseCrc = word(3);
  const uint32_t count = word(4);
  if (word(1) < 2 || word(1) > kLargestPresentationScale) {
    problem = "scale " + std::to_string(word(1)) + " is not 2, 3 or 4";
    return false;
  }
  if (count > (blobsEnd - kFirstBlobOffset - scaledSetTableSize(0)) / (4 * kEntryWords)) {
    problem = "a table of " + std::to_string(count) + " entries is longer than the file";
    return false;
  }
  const size_t tableEnd = kFirstBlobOffset + scaledSetTableSize(count);
  table.pictures.assign(count, ScaledPicture{});
  int32_t previousKey = 0;
  for (size_t i = 0; i < count; ++i) {
    auto field = [&](size_t at) { return static_cast<int32_t>(word(kHeaderWords + i * kEntryWords + at)); };
    ScaledPicture& picture = table.pictures[i];
    const int32_t stored = field(10);
    picture = {field(0), field(1), field(2), field(3), field(4),
               BitmapBlobs{field(5), field(6), field(7), field(8), field(9), static_cast<uint8_t>(stored)}};
    problem = stored == 0 || stored == 1 ? entryProblem(picture, previousKey, tableEnd, blobsEnd)
                                         : "storedFormat " + std::to_string(stored) + " is neither 0 nor 1";
    if (!problem.empty()) {
      problem = entryName(i, picture.memberKey) + ": " + problem;
      return false;
    }
    previousKey = picture.memberKey;
  }
  return true;
}

std::string scaledMediaFileName(std::string_view name, int32_t scale) {
  const size_t folder = name.find_last_of("/\\");
  size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos || (folder != std::string_view::npos && dot < folder)) dot = name.size();
  return std::string(name.substr(0, dot)) + "@" + std::to_string(scale) + "x" + std::string(name.substr(dot));
}

uint32_t mediaIdentity(const uint8_t* data, size_t length) {
  return static_cast<uint32_t>(crc32_z(0, data, length));
}

}  // namespace qn
