#include "tools/qmftool/scaled_set_check.h"

#include <algorithm>

#include "engine/cast_member.h"

namespace qn::qmftool {

namespace {

std::string memberName(int32_t key) {
  return "member " + std::to_string(key / 65536 + 1) + "." + std::to_string(key % 65536);
}

std::string pair(int32_t a, int32_t b, const char* between) {
  return std::to_string(a) + between + std::to_string(b);
}

// Why the set's picture does not stand for the member of `row`, or empty.
std::string pictureProblem(const ScaledPicture& picture, const BitmapRow& row, int32_t scale) {
  const std::string times = ", not " + std::to_string(scale) + " times ";
  if (picture.width != scale * row.width || picture.height != scale * row.height)
    return pair(picture.width, picture.height, " x ") + times + pair(row.width, row.height, " x ");
  if (picture.regX != scale * row.regX || picture.regY != scale * row.regY)
    return "regPoint (" + pair(picture.regX, picture.regY, ", ") + ")" + times + "(" + pair(row.regX, row.regY, ", ") +
           ")";
  return "";
}

// Matches the set's pictures with the cast's bitmaps; true when every bitmap has its picture and
// every picture its bitmap, each standing for it.
bool matchesCast(const ScaledSetTable& table, const PackedCast& base, ReportLine report) {
  const bool sameMedia = table.baseLength == base.media.size() &&
                         table.baseCrc == mediaIdentity(base.media.data(), base.media.size());
  report(sameMedia, sameMedia ? "made for the media file the manifest packs"
                              : "made for another media file than the manifest packs: pack it again");
  bool passed = sameMedia;
  auto entryOf = [&](int32_t key) {
    auto found = std::find_if(table.pictures.begin(), table.pictures.end(),
                              [&](const ScaledPicture& picture) { return picture.memberKey == key; });
    return found == table.pictures.end() ? nullptr : &*found;
  };
  for (const BitmapRow& row : base.bitmaps) {
    const int32_t key = memberKey(row.number, row.castLib);
    const ScaledPicture* picture = entryOf(key);
    const std::string problem = picture ? pictureProblem(*picture, row, table.scale) : "missing from the set";
    if (!problem.empty()) report(false, memberName(key) + ": " + problem);
    passed = passed && problem.empty();
  }
  for (const ScaledPicture& picture : table.pictures) {
    const bool known = std::any_of(base.bitmaps.begin(), base.bitmaps.end(), [&](const BitmapRow& row) {
      return memberKey(row.number, row.castLib) == picture.memberKey;
    });
    if (!known) report(false, memberName(picture.memberKey) + ": no bitmap of the cast");
    passed = passed && known;
  }
  return passed;
}

}  // namespace

bool checkScaledSetPictures(const MediaFile& media, const ScaledSetTable& table, const PackedCast* base,
                            ReportLine report) {
  bool passed = !base || matchesCast(table, *base, report);
  size_t loading = 0;
  for (const ScaledPicture& picture : table.pictures) {
    const std::string problem = bitmapBlobsProblem(media, picture.blobs, picture.width, picture.height);
    if (!problem.empty()) report(false, memberName(picture.memberKey) + ": " + problem);
    loading += problem.empty();
  }
  report(loading == table.pictures.size(),
         std::to_string(loading) + " of " + std::to_string(table.pictures.size()) + " pictures load");
  return passed && loading == table.pictures.size();
}

}  // namespace qn::qmftool
