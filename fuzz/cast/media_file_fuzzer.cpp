// Fuzzes a whole media file: validation with every answer to the dialogs, then member loading.
// The input's last 32 bytes, when present, are read as four cast rows (offset, packed size,
// unpacked size, alpha sizes and stored format) so that fetches aim at the file's own blobs as
// well as at arbitrary ranges.
#include <cstdint>
#include <cstring>

#include "cast/image_blob.h"
#include "cast/media_file.h"
#include "cast/media_format.h"
#include "shell/platform/platform.h"

namespace {

int32_t word(const uint8_t* bytes) { return static_cast<int32_t>(qn::readLittleEndian32(bytes)); }

void loadBitmap(const qn::MediaFile& media, int32_t offset, int32_t packed, int32_t unpacked, int32_t alphaPacked,
                int32_t alphaUnpacked, uint8_t format) {
  qn::DecodedImage image;
  qn::MemberBytes bytes = media.fetchMemberData(offset, packed, unpacked);
  if (bytes) qn::decodeImageBlob(bytes.data(), bytes.size(), format, media.purge(), image);
  qn::MemberBytes alpha = media.fetchMemberData(offset + packed, alphaPacked, alphaUnpacked);
  qn::DecodedImage mask;
  if (alpha) qn::decodeImageBlob(alpha.data(), alpha.size(), qn::kStoredBmp, media.purge(), mask);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qn::platform::setMessageBoxHandler([](std::string_view, std::string_view, qn::platform::MessageBoxButtons) {
    return qn::platform::MessageBoxAnswer::yes;
  });
  qn::MediaFile media;
  media.bindBytes(data, size);
  media.validate(0, "fuzz.qmf");
  media.validate(static_cast<int32_t>(size), "fuzz.qmf");
  media.validate(1253118, "fuzz.qmf");

  // The whole file after the magic as one stored and one compressed blob of each kind.
  if (size > 8) {
    auto body = static_cast<int32_t>(size - 8);
    loadBitmap(media, 4, body, body, 0, 0, qn::kStoredBmp);
    loadBitmap(media, 4, body, body, 0, 0, qn::kStoredFileImage);
    loadBitmap(media, 4, body, body * 4, 0, 0, qn::kStoredBmp);
  }
  if (size >= 32 + 8) {
    const uint8_t* rows = data + size - 32;
    for (int i = 0; i < 4; ++i, rows += 8) {
      int32_t offset = word(rows) & 0xFFFFF;
      int32_t packed = word(rows + 4) & 0xFFFFF;
      int32_t unpacked = (rows[3] & 1) ? packed : packed * (rows[7] % 8 + 1);
      loadBitmap(media, offset, packed, unpacked, packed / 2, unpacked / 2, rows[2] & 1);
    }
  }
  return 0;
}
