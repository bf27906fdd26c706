// Fuzzes a whole media file: validation with every answer to the dialogs, then member loading
// through the cast. The input's last 32 bytes, when present, are read as four cast rows (offset,
// packed size, a byte choosing the unpacked size, the stored format and useAlpha) so that loads
// aim at the file's own blobs as well as at arbitrary ranges.
#include <cstdint>
#include <string>

#include "cast/bitmap_member.h"
#include "cast/cast.h"
#include "cast/field_member.h"
#include "cast/media_file.h"
#include "cast/media_format.h"
#include "cast/sound_member.h"
#include "platform/platform.h"
#include "script/symbol_table.h"

namespace {

int32_t word(const uint8_t* bytes) { return static_cast<int32_t>(qn::readLittleEndian32(bytes)); }

struct Setup {
  Setup() {
    qn::initValueModel();
    qn::SymbolTable::global().addBuiltins();
    qn::platform::setMessageBoxHandler([](std::string_view, std::string_view, qn::platform::MessageBoxButtons) {
      return qn::platform::MessageBoxAnswer::yes;
    });
  }
};

void addMembers(qn::Cast& cast, const uint8_t* rows, int32_t bodySize) {
  for (int32_t i = 0; i < 4; ++i, rows += 8) {
    int32_t offset = word(rows) & 0xFFFFF;
    int32_t packed = word(rows + 4) & 0xFFFFF;
    int32_t unpacked = (rows[3] & 1) ? packed : packed * (rows[7] % 8 + 1);
    if (i == 0) offset = 4, packed = unpacked = bodySize;  // the whole body stored as one blob
    qn::BitmapRow bitmap{};
    bitmap.number = 10 + i;
    bitmap.castLib = 1;
    bitmap.depth = (rows[2] & 2) ? 16 : 32;
    bitmap.useAlpha = rows[2] & 4 ? 1 : 0;
    bitmap.matteAlphaThreshold = rows[6];
    bitmap.name = "";
    bitmap.filename = "";
    bitmap.offset = offset;
    bitmap.packedSize = packed;
    bitmap.unpackedSize = unpacked;
    bitmap.alphaPackedSize = (rows[2] & 8) ? packed / 2 : 0;
    bitmap.alphaUnpackedSize = (rows[2] & 8) ? unpacked / 2 + 1 : 0;
    bitmap.storedFormat = rows[2] & 1;
    cast.add(new qn::BitmapMember(cast, bitmap));

    qn::FieldRow field{};
    field.number = 20 + i;
    field.castLib = 1;
    field.font = "";
    field.fontStyle = "";
    field.name = "";
    field.offset = offset;
    field.packedSize = packed;
    field.unpackedSize = unpacked;
    cast.add(new qn::FieldMember(cast, field));

    qn::SoundRow sound{30 + i, 1, 0, "", "", offset, packed, unpacked};
    cast.add(new qn::SoundMember(cast, sound));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Setup setup;
  qn::MediaFile media;
  media.bindBytes(data, size);
  media.validate(0, "fuzz.qmf");
  media.validate(static_cast<int64_t>(size), "fuzz.qmf");
  media.validate(1253118, "fuzz.qmf");
  if (size < 32 + 8) return 0;

  qn::Cast cast(media);
  addMembers(cast, data + size - 32, static_cast<int32_t>(size - 8));
  for (const auto& [key, member] : cast.members()) {
    qn::castMemberOf(member)->load();
    if (auto* bitmap = dynamic_cast<qn::BitmapMember*>(member.object())) bitmap->matte();
  }
  cast.purgeMembers(1 << 20);
  return 0;
}
