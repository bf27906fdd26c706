// Fuzzes the game's own media file in its real framing: the input is a list of edits (offset,
// length, bytes) applied to the packed file that ships with the game, three in four of them aimed
// at a member's blob (most often at its first bytes, where headers and zlib headers lie), the
// rest anywhere. The damaged file is then validated, and every member whose bytes an edit
// touched is loaded and drawn (bitmaps with their matte, fields rendered), every such sound
// decoded, and memory purged, as the movie would. The edits are undone after each input.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "cast/bitmap_member.h"
#include "cast/cast.h"
#include "cast/cast_rows.h"
#include "cast/field_member.h"
#include "cast/media_file.h"
#include "gfx/draw_image.h"
#include "gfx/image_buffer.h"
#include "script/symbol_table.h"
#include "shell/platform/embedded_media.h"
#include "shell/platform/platform.h"

namespace {

constexpr size_t kMostEdits = 16;
constexpr size_t kLongestEdit = 64;
constexpr uint32_t kHeaderBytes = 64;  // "the first bytes" of a blob

struct Blob {
  int64_t begin, end;  // the byte range in the file
  int32_t key;         // the member it belongs to
};

struct Edit {
  size_t offset, length;
};

struct Setup {
  std::vector<uint8_t> original;
  std::vector<uint8_t> working;
  std::vector<Blob> blobs;

  Setup() {
    qn::initValueModel();
    qn::SymbolTable::global().addBuiltins();
    qn::platform::setMessageBoxHandler([](std::string_view, std::string_view, qn::platform::MessageBoxButtons) {
      return qn::platform::MessageBoxAnswer::yes;
    });
    qn::platform::EmbeddedMedia media = qn::platform::embeddedMedia();
    original.assign(media.data, media.data + media.size);
    working = original;
    const qn::CastRows& rows = qn::movieCastRows();
    auto add = [&](int64_t offset, int32_t size, int32_t number, int32_t castLib) {
      if (size > 0) blobs.push_back({offset, offset + size, qn::memberKey(number, castLib)});
    };
    for (const qn::BitmapRow& row : rows.bitmaps) {
      add(row.offset, row.packedSize, row.number, row.castLib);
      add(int64_t(row.offset) + row.packedSize, row.alphaPackedSize, row.number, row.castLib);
    }
    for (const qn::FieldRow& row : rows.fields) add(row.offset, row.packedSize, row.number, row.castLib);
    for (const qn::SoundRow& row : rows.sounds) add(row.offset, row.packedSize, row.number, row.castLib);
  }
};

std::vector<Edit> applyEdits(FuzzedDataProvider& input, Setup& setup) {
  std::vector<Edit> edits;
  const size_t fileSize = setup.working.size();
  while (input.remaining_bytes() > 0 && edits.size() < kMostEdits) {
    const uint8_t kind = input.ConsumeIntegral<uint8_t>();
    size_t offset;
    if ((kind & 3) != 3) {
      const Blob& blob = setup.blobs[input.ConsumeIntegralInRange<size_t>(0, setup.blobs.size() - 1)];
      const auto blobSize = static_cast<uint32_t>(blob.end - blob.begin);
      const uint32_t reach = (kind & 4) ? blobSize : std::min(blobSize, kHeaderBytes);
      offset = static_cast<size_t>(blob.begin) + input.ConsumeIntegralInRange<uint32_t>(0, reach - 1);
    } else {
      offset = input.ConsumeIntegralInRange<size_t>(0, fileSize - 1);
    }
    size_t length = std::min(input.ConsumeIntegralInRange<size_t>(1, kLongestEdit), fileSize - offset);
    std::vector<uint8_t> bytes = input.ConsumeBytes<uint8_t>(length);
    if (kind & 8) bytes.assign(length, kind);  // a run of one byte: zeroed or saturated fields
    if (bytes.empty()) break;
    std::memcpy(setup.working.data() + offset, bytes.data(), bytes.size());
    edits.push_back({offset, bytes.size()});
  }
  return edits;
}

bool touches(const Blob& blob, const std::vector<Edit>& edits) {
  return std::any_of(edits.begin(), edits.end(), [&](const Edit& edit) {
    return int64_t(edit.offset) < blob.end && int64_t(edit.offset + edit.length) > blob.begin;
  });
}

void loadAndDraw(qn::CastMember& member, qn::ImageBuffer& stage) {
  member.load();
  if (auto* bitmap = dynamic_cast<qn::BitmapMember*>(&member)) {
    if (qn::ImageBuffer* image = bitmap->image()) {
      qn::BlitParams params;
      params.sourceRect = image->bounds();
      params.destinationRect = stage.bounds();
      params.mask = bitmap->matte();
      params.ink = qn::ink::matte;
      qn::drawImage(stage, image, params);
    }
  } else if (auto* field = dynamic_cast<qn::FieldMember*>(&member)) {
    field->renderImage();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Setup setup;
  FuzzedDataProvider input(data, size);
  std::vector<Edit> edits = applyEdits(input, setup);
  {
    qn::MediaFile media;
    media.bindBytes(setup.working.data(), setup.working.size());
    media.validate(qn::movieCastRows().mediaFileSize, "MyMovie.qmf");
    qn::Cast cast(media);
    cast.createMembers(qn::movieCastRows());
    qn::Value stage = qn::Value::adopt(qn::ImageBuffer::create(240, 320, -16));
    for (const Blob& blob : setup.blobs)
      if (touches(blob, edits))
        if (qn::CastMember* member = cast.find(blob.key)) loadAndDraw(*member, *qn::imageBufferOf(stage));
    cast.purgeMembers(1 << 20);
  }
  for (const Edit& edit : edits)
    std::memcpy(setup.working.data() + edit.offset, setup.original.data() + edit.offset, edit.length);
  return 0;
}
