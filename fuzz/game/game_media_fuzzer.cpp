// Fuzzes the game's own media file in its real framing. The input is a list of edits (offset,
// length, bytes) to the packed file that ships with the game, three in four aimed at a member's
// blob and most of those at its first bytes, where the headers lie. An edit aimed at a compressed
// blob changes its unpacked content, which is deflated again, so that the decoders behind zlib
// meet damaged headers and pixels rather than a checksum that refuses them; the other edits change
// the file's bytes as they lie. Every member whose bytes changed is loaded and drawn (bitmaps with
// their matte, fields rendered) and every such sound decoded, as the movie would.
//
// Only what the edits touched is built: a small media file holds the magic word, the blobs of the
// touched members (a bitmap's image and alpha together) and the trailer word, and copies of those
// members' rows address it; the untouched blobs stay in the shipped file, unread. It is validated
// against the size the whole file would have, laid out again with the rewritten blobs, less what
// it leaves out, so that it passes the size check exactly when the whole file would.
//
// What costs time without finding more is cut: a compressed blob goes into the small file as a
// stored zlib stream of its content (made once; an edited one framed again), so that inflating
// it is a copy, while an edit to its bytes still breaks the stream as it would a deflated one. A
// long stored sound (the music, the calls) keeps only its first seconds: edits reach no further,
// and the decoder takes every path of a whole stream on them. Bitmaps are drawn on a small stage,
// a large one twice, so that its top left and bottom right corners both show.
#include <fuzzer/FuzzedDataProvider.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "cast/bitmap_member.h"
#include "cast/cast.h"
#include "cast/cast_rows.h"
#include "cast/field_member.h"
#include "cast/media_file.h"
#include "gfx/draw_image.h"
#include "gfx/image_buffer.h"
#include "platform/embedded_media.h"
#include "platform/platform.h"
#include "script/report_error.h"
#include "script/symbol_table.h"

namespace {

constexpr size_t kMostEdits = 16;
constexpr size_t kLongestEdit = 64;
constexpr uint32_t kHeaderBytes = 64;       // "the first bytes" of a blob
constexpr size_t kWordBytes = 4;            // the magic word before the blobs, the trailer after
constexpr int32_t kSoundPrefix = 24 << 10;  // a few seconds of the Ogg Vorbis sounds
constexpr int32_t kStageSize = 64;          // the small stage's width and height

enum class BlobKind { image, alpha, field, sound };

struct Blob {
  BlobKind kind;
  size_t row;      // in the rows of its kind
  size_t offset;   // in the shipped file
  int32_t packed, unpacked;
  int32_t key;     // the member it belongs to
  bool compressed() const { return packed != unpacked; }
  // The bytes of it that are built and loaded: a long stored sound only its first ones.
  int32_t kept() const { return kind == BlobKind::sound && !compressed() ? std::min(packed, kSoundPrefix) : packed; }
};

struct Edit {
  size_t offset;  // in the shipped file, or in the blob's unpacked content
  std::vector<uint8_t> bytes;
  size_t end() const { return offset + bytes.size(); }
};

struct Edits {
  std::vector<Edit> inFile;
  std::vector<std::vector<Edit>> inContent;  // by blob
};

struct Setup {
  std::span<const uint8_t> shipped;
  const qn::CastRows& rows = qn::movieCastRows();
  std::vector<Blob> blobs;                     // in file order; they tile the file between the words
  std::vector<std::vector<uint8_t>> contents;  // by blob: a compressed blob's unpacked content
  std::vector<std::vector<uint8_t>> stored;    // by blob: that content as a stored zlib stream
  qn::Value stage;
  std::vector<uint8_t> edited;  // kept from one input to the next, so that its memory is had once

  Setup() {
    qn::initValueModel();
    qn::SymbolTable::global().addBuiltins();
    qn::setErrorSink([](std::string_view) {});
    qn::platform::setMessageBoxHandler([](std::string_view, std::string_view, qn::platform::MessageBoxButtons) {
      return qn::platform::MessageBoxAnswer::yes;
    });
    qn::platform::EmbeddedMedia media = qn::platform::embeddedMedia();
    shipped = {media.data, media.size};
    auto add = [&](BlobKind kind, size_t row, int64_t offset, int32_t packed, int32_t unpacked, int32_t number,
                   int32_t castLib) {
      if (packed > 0)
        blobs.push_back({kind, row, static_cast<size_t>(offset), packed, unpacked, qn::memberKey(number, castLib)});
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
    size_t end = kWordBytes;
    for (const Blob& blob : blobs) {
      if (blob.offset != end) refuse("the cast rows do not tile the media file");
      end += static_cast<size_t>(blob.packed);
    }
    if (end + kWordBytes != shipped.size()) refuse("the cast rows do not reach the media file's trailer");
    contents.resize(blobs.size());
    stored.resize(blobs.size());
    for (size_t index = 0; index < blobs.size(); ++index) {
      if (!blobs[index].compressed()) continue;
      contents[index] = inflated(blobs[index]);
      appendStoredStream(contents[index], stored[index]);
    }
    stage = qn::Value::adopt(qn::ImageBuffer::create(kStageSize, kStageSize, -16));
  }

  // zlib's framing of content that is not compressed: a two-byte header, blocks of at most 65535
  // bytes each behind a five-byte header (last-block flag, length, its complement), the Adler-32.
  static void appendStoredStream(const std::vector<uint8_t>& content, std::vector<uint8_t>& stream) {
    constexpr size_t kLongestBlock = 65535;
    stream.insert(stream.end(), {0x78, 0x01});
    size_t at = 0;
    do {
      const size_t length = std::min(kLongestBlock, content.size() - at);
      const auto complement = static_cast<uint16_t>(~length);
      stream.insert(stream.end(), {uint8_t(at + length == content.size()), uint8_t(length), uint8_t(length >> 8),
                                   uint8_t(complement), uint8_t(complement >> 8)});
      stream.insert(stream.end(), content.begin() + static_cast<ptrdiff_t>(at),
                    content.begin() + static_cast<ptrdiff_t>(at + length));
      at += length;
    } while (at < content.size());
    const uLong sum = adler32(adler32(0, nullptr, 0), content.data(), static_cast<uInt>(content.size()));
    stream.insert(stream.end(), {uint8_t(sum >> 24), uint8_t(sum >> 16), uint8_t(sum >> 8), uint8_t(sum)});
  }

  [[noreturn]] static void refuse(const char* why) {
    std::fprintf(stderr, "game_media_fuzzer: %s\n", why);
    std::abort();
  }

  // The blob in which a byte of the shipped file lies, or blobs.size() for the words.
  size_t blobAt(size_t offset) const {
    auto after = std::upper_bound(blobs.begin(), blobs.end(), offset,
                                  [](size_t at, const Blob& blob) { return at < blob.offset; });
    if (after == blobs.begin()) return blobs.size();
    const size_t index = static_cast<size_t>(after - blobs.begin()) - 1;
    return offset < blobs[index].offset + static_cast<size_t>(blobs[index].packed) ? index : blobs.size();
  }

  std::vector<uint8_t> inflated(const Blob& blob) const {
    std::vector<uint8_t> unpacked(static_cast<size_t>(blob.unpacked));
    uLongf size = unpacked.size();
    if (uncompress(unpacked.data(), &size, shipped.data() + blob.offset, static_cast<uLong>(blob.packed)) != Z_OK ||
        size != unpacked.size())
      refuse("a blob of the shipped media file does not inflate");
    return unpacked;
  }
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
      edit.offset = input.ConsumeIntegralInRange<size_t>(0, setup.shipped.size() - 1);
    } else {
      const size_t index = input.ConsumeIntegralInRange<size_t>(0, setup.blobs.size() - 1);
      const Blob& blob = setup.blobs[index];
      const bool inContent = (kind & 3) != 2 && blob.compressed();
      const auto size = static_cast<uint32_t>(inContent ? blob.unpacked : blob.kept());
      const uint32_t reach = (kind & 4) ? size : std::min(size, kHeaderBytes);
      edit.offset = input.ConsumeIntegralInRange<uint32_t>(0, reach - 1);
      if (inContent) target = &edits.inContent[index];
      else edit.offset += blob.offset;
    }
    edit.bytes = (kind & 8) ? std::vector<uint8_t>(length, kind) : input.ConsumeBytes<uint8_t>(length);
    if (edit.bytes.empty()) break;
    target->push_back(std::move(edit));
  }
  return edits;
}

// Applies the edits to `bytes`, which stand at `offset` of the space the edits' offsets count in.
void apply(const std::vector<Edit>& edits, size_t offset, std::span<uint8_t> bytes) {
  for (const Edit& edit : edits) {
    const size_t from = std::max(edit.offset, offset), to = std::min(edit.end(), offset + bytes.size());
    if (from < to) std::memcpy(bytes.data() + (from - offset), edit.bytes.data() + (from - edit.offset), to - from);
  }
}

// The small media file and the rows of the members in it.
struct DamagedMedia {
  std::vector<uint8_t> file;
  std::vector<qn::BitmapRow> bitmaps;
  std::vector<qn::FieldRow> fields;
  std::vector<qn::SoundRow> sounds;
  int64_t growth = 0;  // how much longer the whole file would be with the rewritten blobs
};

// Which members an edit touched: those with an edit in a blob's content or in its kept bytes.
std::vector<int32_t> touchedMembers(const Setup& setup, const Edits& edits) {
  std::vector<int32_t> keys;
  auto touch = [&](size_t index) {
    if (index < setup.blobs.size()) keys.push_back(setup.blobs[index].key);
  };
  for (size_t index = 0; index < setup.blobs.size(); ++index)
    if (!edits.inContent[index].empty()) touch(index);
  for (const Edit& edit : edits.inFile)
    for (size_t at = edit.offset; at < edit.end(); ++at)
      if (size_t index = setup.blobAt(at); index < setup.blobs.size()) {
        const Blob& blob = setup.blobs[index];
        if (at < blob.offset + static_cast<size_t>(blob.kept())) touch(index);
        at = blob.offset + static_cast<size_t>(blob.packed) - 1;  // on to the next blob
      }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

// Places one blob of a touched member in the small file and points its row at it.
void place(Setup& setup, size_t index, const Edits& edits, DamagedMedia& damaged) {
  const Blob& blob = setup.blobs[index];
  std::vector<uint8_t>& file = damaged.file;
  const auto offset = static_cast<int32_t>(file.size());
  const std::vector<Edit>& contentEdits = edits.inContent[index];
  if (!blob.compressed()) {
    file.insert(file.end(), setup.shipped.begin() + blob.offset, setup.shipped.begin() + blob.offset + blob.kept());
  } else if (contentEdits.empty()) {
    file.insert(file.end(), setup.stored[index].begin(), setup.stored[index].end());
  } else {
    setup.edited = setup.contents[index];
    apply(contentEdits, 0, setup.edited);
    Setup::appendStoredStream(setup.edited, file);
    damaged.growth += static_cast<int64_t>(file.size()) - offset - blob.packed;
  }
  const auto packed = static_cast<int32_t>(file.size()) - offset;
  const auto edited = static_cast<size_t>(std::min(packed, blob.kept()));
  apply(edits.inFile, blob.offset, std::span(file).subspan(static_cast<size_t>(offset), edited));
  switch (blob.kind) {
    case BlobKind::image: {
      qn::BitmapRow& row = damaged.bitmaps.emplace_back(setup.rows.bitmaps[blob.row]);
      row.offset = offset;
      row.packedSize = packed;
      break;
    }
    case BlobKind::alpha: damaged.bitmaps.back().alphaPackedSize = packed; break;  // right after its image
    case BlobKind::field: {
      qn::FieldRow& row = damaged.fields.emplace_back(setup.rows.fields[blob.row]);
      row.offset = offset;
      row.packedSize = packed;
      break;
    }
    case BlobKind::sound: {
      qn::SoundRow& row = damaged.sounds.emplace_back(setup.rows.sounds[blob.row]);
      row.offset = offset;
      row.packedSize = packed;
      if (!blob.compressed()) row.unpackedSize = packed;
      break;
    }
  }
}

void damage(Setup& setup, const Edits& edits, const std::vector<int32_t>& members, DamagedMedia& damaged) {
  damaged.bitmaps.clear();
  damaged.fields.clear();
  damaged.sounds.clear();
  damaged.growth = 0;
  std::vector<uint8_t>& file = damaged.file;
  const size_t shippedSize = setup.shipped.size();
  file.assign(setup.shipped.begin(), setup.shipped.begin() + kWordBytes);
  for (size_t index = 0; index < setup.blobs.size(); ++index)
    if (std::binary_search(members.begin(), members.end(), setup.blobs[index].key)) place(setup, index, edits, damaged);
  file.insert(file.end(), setup.shipped.end() - kWordBytes, setup.shipped.end());
  apply(edits.inFile, 0, std::span(file).first(kWordBytes));
  apply(edits.inFile, shippedSize - kWordBytes, std::span(file).last(kWordBytes));
}

void loadAndDraw(qn::CastMember& member, qn::ImageBuffer& stage) {
  member.load();
  if (auto* bitmap = dynamic_cast<qn::BitmapMember*>(&member)) {
    if (qn::ImageBuffer* image = bitmap->image()) {
      qn::BlitParams params;
      params.sourceRect = image->bounds();
      params.mask = bitmap->matte();
      params.ink = qn::ink::matte;
      // As a sprite at the stage's top left corner, and one that shows its own bottom right.
      params.destinationRect = image->bounds();
      qn::drawImage(stage, image, params);
      const int32_t beyondH = image->width() - kStageSize, beyondV = image->height() - kStageSize;
      if (beyondH > 0 || beyondV > 0) {
        params.destinationRect = image->bounds().offsetBy(-std::max(beyondH, 0), -std::max(beyondV, 0));
        qn::drawImage(stage, image, params);
      }
    }
  } else if (auto* field = dynamic_cast<qn::FieldMember*>(&member)) {
    field->renderImage();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Setup setup;
  static DamagedMedia damaged;  // its memory is kept for the next input
  FuzzedDataProvider input(data, size);
  const Edits edits = readEdits(input, setup);
  const std::vector<int32_t> members = touchedMembers(setup, edits);
  damage(setup, edits, members, damaged);
  qn::MediaFile media;
  media.bindBytes(damaged.file.data(), damaged.file.size());
  // The size the whole file would have, less the blobs this one leaves out.
  int64_t expected = static_cast<int64_t>(damaged.file.size()) - damaged.growth;
  if (expected <= 0) expected = static_cast<int64_t>(damaged.file.size()) + 1;
  media.validate(expected, "MyMovie.qmf");
  qn::Cast cast(media);
  cast.createMembers({damaged.bitmaps, damaged.fields, damaged.sounds, {}, static_cast<int32_t>(damaged.file.size())});
  for (int32_t key : members)
    if (qn::CastMember* member = cast.find(key)) loadAndDraw(*member, *qn::imageBufferOf(setup.stage));
  cast.purgeMembers(1 << 20);
  return 0;
}
