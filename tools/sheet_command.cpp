// sheet: a contact sheet of every bitmap member as the runtime loads it from a media file, each
// in its own cell under its castLib.number and name. Members that do not load are named in red.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cast/bitmap_member.h"
#include "cast/cast.h"
#include "cast/text_drawing.h"
#include "gfx/draw_image.h"
#include "gfx/shape_drawing.h"
#include "tools/png_output.h"
#include "tools/qmftool/packer.h"
#include "tools/qmftool_command.h"

namespace qn::tools {

namespace {

constexpr int32_t kColumns = 6;
constexpr int32_t kCellWidth = 132;
constexpr int32_t kPictureHeight = 100;
constexpr int32_t kCaptionHeight = 16;
constexpr int32_t kCellHeight = kPictureHeight + kCaptionHeight + 4;
constexpr int32_t kPadding = 4;

// The largest rect of the picture's proportions that fits the cell, never enlarged, centred.
PixelRect fitted(const ImageBuffer& image, const PixelRect& cell) {
  double scale = std::min({1.0, double(cell.width()) / std::max(1, image.width()),
                           double(cell.height()) / std::max(1, image.height())});
  int32_t w = std::max(1, static_cast<int32_t>(image.width() * scale));
  int32_t h = std::max(1, static_cast<int32_t>(image.height() * scale));
  int32_t left = cell.left + (cell.width() - w) / 2, top = cell.top + (cell.height() - h) / 2;
  return {left, top, left + w, top + h};
}

void drawCell(ImageBuffer& sheet, BitmapMember& member, const BitmapRow& row, int32_t index) {
  int32_t left = (index % kColumns) * kCellWidth, top = (index / kColumns) * kCellHeight;
  PixelRect picture{left + kPadding, top + kPadding, left + kCellWidth - kPadding, top + kPadding + kPictureHeight};
  fillRect(sheet, picture, 0xC8C8C8);
  bool loaded = member.load();
  if (loaded) {
    const ImageBuffer& image = *member.image();
    BlitParams params;
    params.destinationRect = fitted(image, picture);
    params.sourceRect = image.bounds();
    params.ink = image.useAlpha() ? ink::blend : ink::copy;
    drawImage(sheet, &image, params);
  }
  TextFormat caption{"DejaVu Sans", 8, "", 0, false, loaded ? 0x000000u : 0xCC0000u, 0xFFFFFF};
  std::string text = std::to_string(row.castLib) + "." + std::to_string(row.number) + " " + row.name;
  if (loaded) text += "  " + std::to_string(member.width()) + "x" + std::to_string(member.height());
  drawTextInBox(sheet, PixelRect{picture.left, picture.bottom, picture.right, picture.bottom + kCaptionHeight}, text,
                caption, ink::copy);
}

}  // namespace

int sheetCommand(Arguments given) {
  std::vector<std::string> arguments(given.begin(), given.end());
  if (arguments.size() != 3) return std::fputs("usage: qmftool sheet MANIFEST FILE.qmf OUT.png\n", stderr), kBadUsage;
  qmftool::Manifest manifest;
  qmftool::PackedCast packed;
  std::string error;
  if (!qmftool::readManifest(arguments[0], manifest, error) ||
      !qmftool::packManifest(manifest, arguments[0], packed, error))
    return failure(error);
  MediaFile media;
  if (!media.bindFile(arguments[1])) return failure("cannot open " + arguments[1]);

  Cast cast(media);
  cast.createMembers(packed.rows());
  auto count = static_cast<int32_t>(packed.bitmaps.size());
  int32_t rows = std::max(1, (count + kColumns - 1) / kColumns);
  Value sheetValue = Value::adopt(ImageBuffer::create(kColumns * kCellWidth, rows * kCellHeight, 32));
  ImageBuffer* sheet = imageBufferOf(sheetValue);
  if (!sheet) return failure("no memory for the sheet");
  fillRect(*sheet, sheet->bounds(), 0xFFFFFF);
  int failures = 0;
  for (int32_t i = 0; i < count; ++i) {
    const BitmapRow& row = packed.bitmaps[i];
    auto* member = dynamic_cast<BitmapMember*>(cast.find(memberKey(row.number, row.castLib)));
    if (!member) continue;
    drawCell(*sheet, *member, row, i);
    failures += member->loaded() ? 0 : 1;
  }
  if (!writePng(*sheet, arguments[2])) return failure("cannot write " + arguments[2]);
  std::printf("%s: %d bitmap members, %d do not load\n", arguments[2].c_str(), count, failures);
  return failures == 0 ? kSucceeded : kFailed;
}

}  // namespace qn::tools
