#include <algorithm>
#include <cstdio>
#include <vector>

#include "cast/scaled_media_format.h"
#include "platform/mapped_file.h"
#include "tools/qmftool_command.h"
#include "tools/qmftool/packer.h"
#include "tools/qmftool/scaled_set_packer.h"

namespace qn::tools {

using namespace qmftool;

int failure(const std::string& message) {
  std::fprintf(stderr, "qmftool: %s\n", message.c_str());
  return kFailed;
}

namespace {

// "2,3,4" as the list of finer scales, each 2 to 4 and named once; empty when malformed.
std::vector<int32_t> scalesFrom(std::string_view text) {
  std::vector<int32_t> scales;
  for (size_t at = 0; at < text.size(); at += 2) {
    const int32_t scale = text[at] - '0';
    const bool separated = at + 1 == text.size() || text[at + 1] == ',';
    if (scale < 2 || scale > kLargestPresentationScale || !separated ||
        std::find(scales.begin(), scales.end(), scale) != scales.end())
      return {};
    scales.push_back(scale);
  }
  return scales;
}

}  // namespace

int packCommand(Arguments given) {
  std::vector<std::string> arguments(given.begin(), given.end());
  std::vector<int32_t> scales;
  if (arguments.size() >= 2 && arguments[0] == "--scales") {
    scales = scalesFrom(arguments[1]);
    if (scales.empty()) return failure("--scales needs finer scales from 2 to 4, as in 2,3,4, not " + arguments[1]);
    arguments.erase(arguments.begin(), arguments.begin() + 2);
  }
  if (arguments.size() < 2 || arguments.size() > 3)
    return std::fputs("usage: qmftool pack [--scales 2,3,4] MANIFEST OUT.qmf [CAST_TABLE.cpp]\n", stderr), kBadUsage;
  const std::string& manifestPath = arguments[0];
  Manifest manifest;
  std::string error;
  PackedCast cast;
  if (!readManifest(manifestPath, manifest, error) || !packManifest(manifest, manifestPath, cast, error))
    return failure(error);
  if (!platform::writeWholeFile(arguments[1], cast.media.data(), cast.media.size()))
    return failure("cannot write " + arguments[1]);
  if (arguments.size() == 3) {
    size_t slash = manifestPath.find_last_of('/');
    std::string source = castTableSource(cast, slash == std::string::npos ? manifestPath : manifestPath.substr(slash + 1));
    if (!platform::writeWholeFile(arguments[2], source.data(), source.size()))
      return failure("cannot write " + arguments[2]);
  }
  std::printf("%s: %zu bytes, %zu bitmaps, %zu fields, %zu sounds, %zu scripts\n", arguments[1].c_str(),
              cast.media.size(), cast.bitmaps.size(), cast.fields.size(), cast.sounds.size(), cast.scripts.size());
  for (int32_t scale : scales) {
    std::vector<uint8_t> set;
    if (!packScaledSet(manifest, manifestPath, cast, scale, set, error)) return failure(error);
    const std::string path = scaledMediaFileName(arguments[1], scale);
    if (!platform::writeWholeFile(path, set.data(), set.size())) return failure("cannot write " + path);
    std::printf("%s: %zu bytes, %zu pictures at %dx\n", path.c_str(), set.size(), cast.bitmaps.size(), scale);
  }
  return 0;
}

}  // namespace qn::tools
