#include <cstdio>
#include <vector>

#include "cast/media_file.h"
#include "cast/media_format.h"
#include "tools/qmftool_command.h"
#include "tools/qmftool/member_check.h"
#include "tools/qmftool/packer.h"

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
    report(sizeOk, "size matches the cast table's expected size " + std::to_string(expectedSize));
  return magicOk && fixedOk && middleOk && sizeOk;
}

}  // namespace

int checkCommand(Arguments given) {
  std::vector<std::string> arguments(given.begin(), given.end());
  if (arguments.empty() || arguments.size() > 2)
    return std::fputs("usage: qmftool check FILE.qmf [MANIFEST]\n", stderr), kBadUsage;
  MediaFile media;
  if (!media.bindFile(arguments[0])) return failure("cannot open " + arguments[0]);

  PackedCast cast;
  int64_t expectedSize = -1;
  if (arguments.size() == 2) {
    Manifest manifest;
    std::string error;
    if (!readManifest(arguments[1], manifest, error) || !packManifest(manifest, arguments[1], cast, error))
      return failure(error);
    expectedSize = static_cast<int64_t>(cast.media.size());
  }
  std::printf("%s\n", arguments[0].c_str());
  bool passed = checkFileRules(media, expectedSize);
  if (arguments.size() == 2) {
    if (passed) {
      bool same = media.length() == cast.media.size() &&
                  std::equal(cast.media.begin(), cast.media.end(), media.data());
      report(same, same ? "contents match the manifest" : "contents differ from the manifest: pack it again");
      passed = same;
    }
    passed = checkMembers(media, cast.rows(), report) && passed;
  }
  std::printf("%s\n", passed ? "media file is valid" : "media file is NOT valid");
  return passed ? 0 : 1;
}

}  // namespace qn::tools
