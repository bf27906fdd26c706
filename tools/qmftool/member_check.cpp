#include "tools/qmftool/member_check.h"

#include "cast/image_blob.h"

namespace qn::qmftool {

namespace {

std::string memberId(int32_t castLib, int32_t number, const char* name) {
  std::string id = "member " + std::to_string(castLib) + "." + std::to_string(number);
  return *name ? id + " \"" + name + "\"" : id;
}

bool blobDecodes(const MediaFile& media, int32_t offset, int32_t packed, int32_t unpacked, uint8_t format,
                 DecodedImage& image) {
  MemberBytes bytes = media.fetchMemberData(offset, packed, unpacked);
  return bytes && decodeImageBlob(bytes.data(), bytes.size(), format, media.purge(), image);
}

std::string checkBitmap(const MediaFile& media, const BitmapRow& row) {
  return bitmapBlobsProblem(media,
                            BitmapBlobs{row.offset, row.packedSize, row.unpackedSize, row.alphaPackedSize,
                                        row.alphaUnpackedSize, row.storedFormat},
                            row.width, row.height);
}

std::string checkField(const MediaFile& media, const FieldRow& row) {
  MemberBytes bytes = media.fetchMemberData(row.offset, row.packedSize, row.unpackedSize);
  if (!bytes) return "text blob does not load";
  if (bytes.data()[bytes.size() - 1] != 0) return "text does not end with a zero byte";
  return "";
}

std::string checkSound(const MediaFile& media, const SoundRow& row) {
  int32_t unpacked = row.unpackedSize ? row.unpackedSize : row.packedSize;
  return media.fetchMemberData(row.offset, row.packedSize, unpacked) ? "" : "sound blob does not load";
}

}  // namespace

std::string bitmapBlobsProblem(const MediaFile& media, const BitmapBlobs& blobs, int32_t width, int32_t height) {
  DecodedImage image;
  if (!blobDecodes(media, blobs.offset, blobs.packedSize, blobs.unpackedSize, blobs.storedFormat, image))
    return "image blob does not load";
  if (image.width != width || image.height != height) return "image size differs from its table row";
  if (blobs.alphaPackedSize == 0) return "";
  DecodedImage mask;
  if (!blobDecodes(media, blobs.offset + blobs.packedSize, blobs.alphaPackedSize, blobs.alphaUnpackedSize, kStoredBmp,
                   mask))
    return "alpha blob does not load";
  if (mask.depthCode != 1 && mask.depthCode != 8) return "alpha blob is neither 1-bit nor 8-bit";
  if (mask.width != image.width || mask.height != image.height) return "alpha blob size differs from the image";
  return "";
}

bool checkMembers(const MediaFile& media, const CastRows& table, ReportLine report) {
  int failures = 0, count = 0;
  auto note = [&](const std::string& problem, int32_t castLib, int32_t number, const char* name) {
    ++count;
    if (problem.empty()) return;
    ++failures;
    report(false, memberId(castLib, number, name) + ": " + problem);
  };
  for (const BitmapRow& row : table.bitmaps) note(checkBitmap(media, row), row.castLib, row.number, row.name);
  for (const FieldRow& row : table.fields) note(checkField(media, row), row.castLib, row.number, row.name);
  for (const SoundRow& row : table.sounds) note(checkSound(media, row), row.castLib, row.number, row.name);
  report(failures == 0, std::to_string(count - failures) + " of " + std::to_string(count) + " media members load");
  return failures == 0;
}

}  // namespace qn::qmftool
