#include <cstdio>
#include <vector>

#include "platform/mapped_file.h"
#include "tools/qmftool_command.h"
#include "tools/qmftool/packer.h"

namespace qn::tools {

using namespace qmftool;

int failure(const std::string& message) {
  std::fprintf(stderr, "qmftool: %s\n", message.c_str());
  return kFailed;
}

int packCommand(Arguments given) {
  std::vector<std::string> arguments(given.begin(), given.end());
  if (arguments.size() < 2 || arguments.size() > 3)
    return std::fputs("usage: qmftool pack MANIFEST OUT.qmf [CAST_TABLE.cpp]\n", stderr), kBadUsage;
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
  return 0;
}

}  // namespace qn::tools
