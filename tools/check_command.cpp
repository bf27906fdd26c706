#include <cstdio>
#include <vector>

#include "cast/media_file.h"
#include "cast/media_format.h"
#include "cast/scaled_media_format.h"
#include "tools/qmftool_command.h"
#include "tools/qmftool/member_check.h"
#include "tools/qmftool/packer.h"
#include "tools/qmftool/scaled_set_check.h"
#include "tools/qmftool/scaled_set_packer.h"

namespace qn::tools {

using namespace qmftool;

namespace {

void report(bool passed, const std::string& line) { std::printf("%s %s\n", passed ? "ok  " : "FAIL", line.c_str()); }

std::string hex32(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// The runtime's start-up rules, one line each.
bool checkFileRules(const MediaFile& media, int64_t expectedSize) {
  size_t length = media.length();
  bool longEnough = length >= kFirstBlobOffset + kTrailerSize;
  report(longEnough, "length " + std::to_string(length) + " bytes (at least 8: magic and trailer)");
  if (!longEnough) return false;
  uint32_t magic = readLittleEndian32(media.data());
  bool magicOk = magic == kMediaMagic;
  report(magicOk, "magic " + hex32(magic) + (magicOk ? " (\"QMF!\")" : " (expected \"QMF!\")"));
  uint32_t word = readLittleEndian32(media.data() + length - kTrailerSize);
  uint32_t v = word ^ kTrailerKey;
  bool fixedOk = (v & kTrailerFixedMask) == kTrailerFixedBits;
  bool middleOk = ((v >> 8) & 0xFFFF) % kTrailerDivisor == 0;
  report(fixedOk, "trailer word " + hex32(word) + ": outer bits " + hex32(v & kTrailerFixedMask) + " (expected " +
                      hex32(kTrailerFixedBits) + ")");
  report(middleOk, "trailer middle " + std::to_string((v >> 8) & 0xFFFF) + " divisible by 37");
  bool sizeOk = expectedSize < 0 || static_cast<int64_t>(length) == expectedSize;
  if (expectedSize >= 0)
    report(sizeOk, "size matches what the manifest packs: " + std::to_string(expectedSize) + " bytes");
  return magicOk && fixedOk && middleOk && sizeOk;
}

bool sameContents(const MediaFile& media, const std::vector<uint8_t>& packed) {
  bool same = media.length() == packed.size() && std::equal(packed.begin(), packed.end(), media.data());
  report(same, same ? "contents match the manifest" : "contents differ from the manifest: pack it again");
  return same;
}

// A finer media set carries its table where the movie's file has its first member's blob.
bool isScaledSet(const MediaFile& media) {
  return media.length() >= kFirstBlobOffset + 4 + kTrailerSize &&
         readLittleEndian32(media.data() + kFirstBlobOffset) == kScaledSetTag;
}

// A finer media set: the file rules, its table, and its pictures, with the manifest also against
// the movie's cast and media file that the manifest packs.
bool checkScaledSet(const MediaFile& media, Manifest* manifest, const std::string& manifestPath,
                    const PackedCast* base) {
  ScaledSetTable table;
  std::string problem;
  const bool readable = readScaledSetTable(media.data(), media.length(), table, problem);
  std::vector<uint8_t> packed;
  if (readable && base && !packScaledSet(*manifest, manifestPath, *base, table.scale, packed, problem)) {
    report(false, problem);
    return false;
  }
  bool passed = checkFileRules(media, base && readable ? static_cast<int64_t>(packed.size()) : -1);
  report(readable, readable ? "a media set of " + std::to_string(table.scale) + "x with " +
                                  std::to_string(table.pictures.size()) + " pictures"
                            : "media set table: " + problem);
  if (!readable) return false;
  if (base && passed) passed = sameContents(media, packed);
  return checkScaledSetPictures(media, table, base, report) && passed;
}

}  // namespace

int checkCommand(Arguments given) {
  std::vector<std::string> arguments(given.begin(), given.end());
  if (arguments.empty() || arguments.size() > 2)
    return std::fputs("usage: qmftool check FILE.qmf [MANIFEST]\n", stderr), kBadUsage;
  MediaFile media;
  if (!media.bindFile(arguments[0])) return failure("cannot open " + arguments[0]);

  const bool withManifest = arguments.size() == 2;
  Manifest manifest;
  PackedCast cast;
  if (withManifest) {
    std::string error;
    if (!readManifest(arguments[1], manifest, error) || !packManifest(manifest, arguments[1], cast, error))
      return failure(error);
  }
  std::printf("%s\n", arguments[0].c_str());
  bool passed = false;
  if (isScaledSet(media)) {
    passed = checkScaledSet(media, &manifest, withManifest ? arguments[1] : "", withManifest ? &cast : nullptr);
  } else {
    passed = checkFileRules(media, withManifest ? static_cast<int64_t>(cast.media.size()) : -1);
    if (withManifest) {
      if (passed) passed = sameContents(media, cast.media);
      passed = checkMembers(media, cast.rows(), report) && passed;
    }
  }
  std::printf("%s\n", passed ? "media file is valid" : "media file is NOT valid");
  return passed ? 0 : 1;
}

}  // namespace qn::tools
