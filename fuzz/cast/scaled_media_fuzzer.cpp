// Fuzzes a finer media set as the cast attaches it and its members show it. The input is the
// set's bytes. A cast is made to fit it: for every entry of a table that reads, a bitmap member
// of that key, a scale-th of the entry's size (at most 64 x 64), from a small media file made
// here: white at its border around a colour, with useAlpha when the entry has an alpha blob.
// When the input's last byte is odd, the set's words that name the media it was made for are
// made this file's, so that attaching goes on past that check to the members and their pictures.
// Every member then shows its picture and matte at the set's scale and, enlarged, at another.
#include <cstdint>
#include <string>
#include <vector>

#include "cast/bitmap_member.h"
#include "cast/cast.h"
#include "cast/media_file.h"
#include "cast/media_format.h"
#include "cast/scaled_media_format.h"
#include "platform/platform.h"
#include "script/report_error.h"
#include "script/symbol_table.h"
#include "tools/qmftool/bmp_writer.h"

namespace {

constexpr int32_t kLargestSide = 64;
constexpr size_t kIdentityAt = qn::kFirstBlobOffset + 8;  // after the table's tag and scale: length, CRC-32

struct Setup {
  Setup() {
    qn::initValueModel();
    qn::SymbolTable::global().addBuiltins();
    qn::setErrorSink([](std::string_view) {});
  }
};

void putWord(std::vector<uint8_t>& bytes, size_t at, uint32_t word) {
  for (int shift = 0; shift < 32; shift += 8) bytes[at + shift / 8] = static_cast<uint8_t>(word >> shift);
}

// The media file and the rows of a cast that fits the set's table.
struct FittingCast {
  std::vector<uint8_t> media{'Q', 'M', 'F', '!'};
  std::vector<qn::BitmapRow> rows;

  FittingCast(const qn::ScaledSetTable& table) {
    for (const qn::ScaledPicture& picture : table.pictures) {
      const int32_t width = picture.width / table.scale, height = picture.height / table.scale;
      if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide) continue;
      std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4, 255);
      for (int32_t y = 1; y + 1 < height; ++y)
        for (int32_t x = 1; x + 1 < width; ++x) rgba[(static_cast<size_t>(y) * width + x) * 4] = 40;
      const std::vector<uint8_t> bmp = qn::qmftool::writeBmp32(rgba.data(), width, height);
      qn::BitmapRow row{};
      row.number = picture.memberKey % 65536;
      row.castLib = picture.memberKey / 65536 + 1;
      row.width = width;
      row.height = height;
      row.depth = 32;
      row.useAlpha = picture.blobs.alphaPackedSize != 0;
      row.matteAlphaThreshold = 1;
      row.name = "";
      row.filename = "";
      row.offset = static_cast<int32_t>(media.size());
      row.packedSize = row.unpackedSize = static_cast<int32_t>(bmp.size());
      media.insert(media.end(), bmp.begin(), bmp.end());
      rows.push_back(row);
    }
    media.resize(media.size() + qn::kTrailerSize);
    putWord(media, media.size() - qn::kTrailerSize, qn::makeTrailerWord(0));
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Setup setup;
  std::vector<uint8_t> set(data, data + size);
  qn::ScaledSetTable table;
  std::string problem;
  const bool readable = qn::readScaledSetTable(set.data(), set.size(), table, problem);
  FittingCast fitting(table);
  if (readable && (set.back() & 1)) {
    putWord(set, kIdentityAt, static_cast<uint32_t>(fitting.media.size()));
    putWord(set, kIdentityAt + 4, qn::mediaIdentity(fitting.media.data(), fitting.media.size()));
  }
  qn::MediaFile media;
  media.bindBytes(fitting.media.data(), fitting.media.size());
  qn::Cast cast(media);
  cast.createMembers({fitting.rows, {}, {}, {}, static_cast<int32_t>(fitting.media.size())});
  auto bytes = std::make_unique<qn::MediaFile>();
  bytes->bindOwned(std::move(set));
  const int32_t scale = readable ? table.scale : 2;
  cast.attachScaledMedia(scale, std::move(bytes), "fuzz@2x.qmf");
  for (const auto& [key, value] : cast.members()) {
    auto* member = dynamic_cast<qn::BitmapMember*>(value.object());
    if (!member || !member->load()) continue;
    member->matteAt(scale);
    member->matteAt(scale == 2 ? 3 : 2);
  }
  cast.purgeMembers(1 << 20);
  return 0;
}
