// Fuzzes the game's own media file in its real framing. The input is a list of edits (offset,
// length, bytes) to the packed file that ships with the game, three in four aimed at a member's
// blob and most of those at its first bytes, where the headers lie. An edit aimed at a compressed
// blob changes its unpacked content, which is deflated again and the file laid out anew with the
// cast rows following, so that the decoders behind zlib meet damaged headers and pixels rather
// than a checksum that refuses them; the other edits change the file's bytes as they lie. The
// damaged file is validated, and every member whose bytes changed is loaded and drawn (bitmaps
// with their matte, fields rendered) and every such sound decoded, as the movie would.
#include <fuzzer/FuzzedDataProvider.h>
#include <zlib.h>

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
#include "script/report_error.h"
#include "script/symbol_table.h"
#include "platform/embedded_media.h"
#include "platform/platform.h"

namespace {

constexpr size_t kMostEdits = 16;
constexpr size_t kLongestEdit = 64;
constexpr uint32_t kHeaderBytes = 64;  // "the first bytes" of a blob

enum class BlobKind { image, alpha, field, sound };

struct Blob {
  BlobKind kind;
  size_t row;  // in the rows of its kind
  int64_t offset;
  int32_t packed, unpacked;
  int32_t key;  // the member it belongs to
  bool compressed() const { return packed != unpacked; }
};

struct Edit {
  size_t offset;  // in the file, or in the blob's unpacked content
  std::vector<uint8_t> bytes;
};

// A damaged copy of the file with the rows that address it.
struct DamagedMedia {
  std::vector<uint8_t> file;
  std::vector<qn::BitmapRow> bitmaps;
  std::vector<qn::FieldRow> fields;
  std::vector<qn::SoundRow> sounds;
  std::vector<bool> touched;  // by blob
};

struct Setup {
  std::vector<uint8_t> original;
  const qn::CastRows& rows = qn::movieCastRows();
  std::vector<Blob> blobs;  // in file order

  Setup() {
    qn::initValueModel();
    qn::SymbolTable::global().addBuiltins();
    qn::setErrorSink([](std::string_view) {});
    qn::platform::setMessageBoxHandler([](std::string_view, std::string_view, qn::platform::MessageBoxButtons) {
      return qn::platform::MessageBoxAnswer::yes;
    });
    qn::platform::EmbeddedMedia media = qn::platform::embeddedMedia();
    original.assign(media.data, media.data + media.size);
    auto add = [&](BlobKind kind, size_t row, int64_t offset, int32_t packed, int32_t unpacked, int32_t number,
                   int32_t castLib) {
      if (packed > 0) blobs.push_back({kind, row, offset, packed, unpacked, qn::memberKey(number, castLib)});
    };
    for (size_t i = 0; i < rows.bitmaps.size(); ++i) {
      const qn::BitmapRow& row = rows.bitmaps[i];
      add(BlobKind::image, i, row.offset, row.packedSize, row.unpackedSize, row.number, row.castLib);
      add(BlobKind::alpha, i, int64_t(row.offset) + row.packedSize, row.alphaPackedSize, row.alphaUnpackedSize,
          row.number, row.castLib);
    }
    for (size_t i = 0; i < rows.fields.size(); ++i) {
      const qn::FieldRow& row = rows.fields[i];
      add(BlobKind::field, i, row.offset, row.packedSize, row.unpackedSize, row.number, row.castLib);
    }
    for (size_t i = 0; i < rows.sounds.size(); ++i) {
      const qn::SoundRow& row = rows.sounds[i];
      add(BlobKind::sound, i, row.offset, row.packedSize, row.unpackedSize ? row.unpackedSize : row.packedSize,
          row.number, row.castLib);
    }
    std::sort(blobs.begin(), blobs.end(), [](const Blob& a, const Blob& b) { return a.offset < b.offset; });
  }
};

struct Edits {
  std::vector<Edit> inFile;
  std::vector<std::vector<Edit>> inContent;  // by blob
};

Edits readEdits(FuzzedDataProvider& input, const Setup& setup) {
  Edits edits;
  edits.inContent.resize(setup.blobs.size());
  for (size_t count = 0; count < kMostEdits && input.remaining_bytes() > 0; ++count) {
    const uint8_t kind = input.ConsumeIntegral<uint8_t>();
    const size_t length = input.ConsumeIntegralInRange<size_t>(1, kLongestEdit);
    Edit edit;
    std::vector<Edit>* target = &edits.inFile;
    if ((kind & 3) == 3) {
      edit.offset = input.ConsumeIntegralInRange<size_t>(0, setup.original.size() - 1);
    } else {
      const size_t index = input.ConsumeIntegralInRange<size_t>(0, setup.blobs.size() - 1);
      const Blob& blob = setup.blobs[index];
      const bool inContent = (kind & 3) != 2 && blob.compressed();
      const auto size = static_cast<uint32_t>(inContent ? blob.unpacked : blob.packed);
      const uint32_t reach = (kind & 4) ? size : std::min(size, kHeaderBytes);
      edit.offset = input.ConsumeIntegralInRange<uint32_t>(0, reach - 1);
      if (inContent) target = &edits.inContent[index];
      else edit.offset += static_cast<size_t>(blob.offset);
    }
    edit.bytes = (kind & 8) ? std::vector<uint8_t>(length, kind) : input.ConsumeBytes<uint8_t>(length);
    if (edit.bytes.empty()) break;
    target->push_back(std::move(edit));
  }
  return edits;
}

void apply(const std::vector<Edit>& edits, std::vector<uint8_t>& bytes) {
  for (const Edit& edit : edits)
    if (edit.offset < bytes.size())
      std::memcpy(bytes.data() + edit.offset, edit.bytes.data(), std::min(edit.bytes.size(), bytes.size() - edit.offset));
}

// The blob's bytes with its content edits: inflated, edited and deflated again. Empty when there
// is nothing to change.
std::vector<uint8_t> rewrittenBlob(const Setup& setup, const Blob& blob, const std::vector<Edit>& edits) {
  if (edits.empty()) return {};
  std::vector<uint8_t> content(static_cast<size_t>(blob.unpacked));
  uLongf inflated = content.size();
  if (uncompress(content.data(), &inflated, setup.original.data() + blob.offset, static_cast<uLong>(blob.packed)) !=
      Z_OK)
    return {};
  apply(edits, content);
  uLongf packed = compressBound(static_cast<uLong>(content.size()));
  std::vector<uint8_t> stream(packed);
  if (compress2(stream.data(), &packed, content.data(), static_cast<uLong>(content.size()), 1) != Z_OK) return {};
  stream.resize(packed);
  return stream;
}

// Lays the file out again blob by blob (the blobs tile it, an alpha blob right after its image),
// moving the rows with their blobs, then applies the edits to the file's bytes.
DamagedMedia damage(const Setup& setup, const Edits& edits) {
  DamagedMedia damaged{{},
                       {setup.rows.bitmaps.begin(), setup.rows.bitmaps.end()},
                       {setup.rows.fields.begin(), setup.rows.fields.end()},
                       {setup.rows.sounds.begin(), setup.rows.sounds.end()},
                       std::vector<bool>(setup.blobs.size())};
  std::vector<uint8_t>& file = damaged.file;
  file.reserve(setup.original.size() + (1 << 16));
  struct Range {
    size_t begin, end;
  };
  std::vector<Range> placed(setup.blobs.size());  // where each blob now lies
  size_t cursor = 0;
  for (size_t i = 0; i < setup.blobs.size(); ++i) {
    const Blob& blob = setup.blobs[i];
    file.insert(file.end(), setup.original.begin() + cursor, setup.original.begin() + blob.offset);
    const auto offset = static_cast<int32_t>(file.size());
    std::vector<uint8_t> rewritten = rewrittenBlob(setup, blob, edits.inContent[i]);
    if (rewritten.empty())
      file.insert(file.end(), setup.original.begin() + blob.offset, setup.original.begin() + blob.offset + blob.packed);
    else
      file.insert(file.end(), rewritten.begin(), rewritten.end());
    damaged.touched[i] = !rewritten.empty();
    const auto packed = static_cast<int32_t>(file.size()) - offset;
    placed[i] = {size_t(offset), file.size()};
    switch (blob.kind) {
      case BlobKind::image:
        damaged.bitmaps[blob.row].offset = offset;
        damaged.bitmaps[blob.row].packedSize = packed;
        break;
      case BlobKind::alpha: damaged.bitmaps[blob.row].alphaPackedSize = packed; break;
      case BlobKind::field:
        damaged.fields[blob.row].offset = offset;
        damaged.fields[blob.row].packedSize = packed;
        break;
      case BlobKind::sound:
        damaged.sounds[blob.row].offset = offset;
        damaged.sounds[blob.row].packedSize = packed;
        break;
    }
    cursor = static_cast<size_t>(blob.offset + blob.packed);
  }
  file.insert(file.end(), setup.original.begin() + cursor, setup.original.end());
  apply(edits.inFile, file);
  for (size_t i = 0; i < setup.blobs.size(); ++i)
    for (const Edit& edit : edits.inFile)
      if (edit.offset < placed[i].end && edit.offset + edit.bytes.size() > placed[i].begin) damaged.touched[i] = true;
  return damaged;
}

void loadAndDraw(qn::CastMember& member, qn::ImageBuffer& stage) {
  member.load();
  if (auto* bitmap = dynamic_cast<qn::BitmapMember*>(&member)) {
    if (qn::ImageBuffer* image = bitmap->image()) {
      qn::BlitParams params;
      params.sourceRect = image->bounds();
      params.destinationRect = image->bounds();  // as a sprite at the stage's corner
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
  DamagedMedia damaged = damage(setup, readEdits(input, setup));
  qn::MediaFile media;
  media.bindBytes(damaged.file.data(), damaged.file.size());
  media.validate(setup.rows.mediaFileSize, "MyMovie.qmf");
  qn::Cast cast(media);
  cast.createMembers({damaged.bitmaps, damaged.fields, damaged.sounds, setup.rows.scripts,
                      static_cast<int32_t>(damaged.file.size())});
  qn::Value stage = qn::Value::adopt(qn::ImageBuffer::create(240, 320, -16));
  for (size_t i = 0; i < setup.blobs.size(); ++i)
    if (damaged.touched[i])
      if (qn::CastMember* member = cast.find(setup.blobs[i].key)) loadAndDraw(*member, *qn::imageBufferOf(stage));
  cast.purgeMembers(1 << 20);
  return 0;
}
